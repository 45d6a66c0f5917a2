#include "CatalogTables.h"

#include "platform/DbError.h"
#include "platform/SqlDialect.h"

#include <QHash>

namespace vek {

namespace {

using T = CatalogColumn::Type;

CatalogColumn id(const char *n) { return {T::Identity, QString::fromUtf8(n), 0}; }
CatalogColumn vc(const char *n, int size) { return {T::Varchar, QString::fromUtf8(n), size}; }
CatalogColumn txt(const char *n) { return {T::Text, QString::fromUtf8(n), 0}; }
CatalogColumn bit(const char *n) { return {T::Bit, QString::fromUtf8(n), 0}; }
CatalogColumn num(const char *n) { return {T::Integer, QString::fromUtf8(n), 0}; }
CatalogColumn flt(const char *n) { return {T::Float, QString::fromUtf8(n), 0}; }
CatalogColumn dt(const char *n) { return {T::DateTime, QString::fromUtf8(n), 0}; }

// User names are as wide as usys_Users.uid wherever they are stored, so no name is cut.
constexpr int kUserIdWidth = 16;
// Room for an Argon2id hash string.
constexpr int kPasswordWidth = 128;

QList<CatalogTableDef> buildDefinitions()
{
    QList<CatalogTableDef> defs;
    defs << CatalogTableDef{CatalogTable::System,
                            {id("id"), vc("parent", 50), vc("child", 50), vc("AppTitle", 50),
                             vc("FirstTable", 100), txt("FirstFieldlist"), vc("SecondTable", 100),
                             txt("SecondFieldList"), vc("EqualField", 40), txt("FormData"), txt("FormData1"),
                             vc("UserName", 40), vc("Passwd", 20), vc("DatabasAlias", 255), vc("ServerType", 10),
                             vc("CreatePerson", kUserIdWidth), vc("Owner", kUserIdWidth), dt("CreateDate"),
                             vc("Description", 255), bit("ShareFlag"), vc("ExeFileName", 100), num("OrderID"),
                             num("dispID"), vc("Flag", 1), vc("PageField", 40), num("PageCount"),
                             txt("PageCaption"), bit("ShortCut"), bit("CountFlag"), num("FormStyle"),
                             vc("GroupText", 80), bit("GroupRecn"), bit("ExtTable"), vc("sFilter", 60),
                             vc("hasMenu", 1), vc("Toolbar", 1), txt("button"), vc("Navigator", 1),
                             vc("RecordHints", 10), vc("WindowStyle", 10), bit("GroupCoding"), num("IconIndex"),
                             vc("GroupHints", 20), vc("DDLSQL", 255), vc("DDLHint", 30), vc("QueryField", 255)}};
    defs << CatalogTableDef{CatalogTable::Dict,
                            {id("id"), vc("EField", 20), vc("Type", 8), num("FieldSize"), vc("Fieldkey", 1),
                             vc("Cfield", 20), vc("EqualField", 40), vc("TableName", 100), txt("Range"),
                             bit("IsNull"), bit("AutoAdd"), bit("isUnique"), num("IsDefine"), vc("RField", 20),
                             vc("childField", 20), bit("DocFile"), vc("FromTable", 100), vc("FromFieldName", 50),
                             vc("DefaultValue", 100), bit("ChooseInput"), flt("Maxvalue"), flt("Minvalue"),
                             bit("Radio"), bit("CountFlag"), bit("fvtSum"), bit("fvtAvg"), bit("fvtCount"),
                             vc("DisplayFormat", 20), vc("GridTitleCaption", 80), vc("Digit", 1), bit("readonly"),
                             bit("choosegrid"), bit("Event"), vc("FromTableSQL", 255), vc("EventName", 30),
                             num("IntervalDay")}};
    defs << CatalogTableDef{CatalogTable::Users,
                            {id("id"), vc("uid", kUserIdWidth), vc("pwd", kPasswordWidth), vc("ulevel", 1),
                             vc("ugroup", 20), vc("descrip", 10)}};
    defs << CatalogTableDef{CatalogTable::DispList,
                            {num("Appid"), vc("UserID", kUserIdWidth), bit("browseRight"), bit("updateRight"),
                             bit("addRight"), bit("deleteRight"), bit("printRight"), bit("exportRight")}};
    defs << CatalogTableDef{CatalogTable::DoTab,
                            {id("Tableid"), vc("TableName", 100), vc("AppName", 50), vc("DotName", 100)}};
    defs << CatalogTableDef{CatalogTable::DoTab1, {num("Tableid"), vc("Field", 20), vc("BookMark", 20)}};
    defs << CatalogTableDef{CatalogTable::DispField,
                            {vc("Uid", kUserIdWidth), num("TableID"), vc("FieldName", 20), bit("WriteRight"),
                             bit("ReadRight")}};
    defs << CatalogTableDef{CatalogTable::XlsTab,
                            {id("Tableid"), vc("TableName", 100), vc("AppName", 50), vc("xlsFileName", 100),
                             num("Firstrow"), vc("sheetname", 30), vc("reportname", 40)}};
    defs << CatalogTableDef{CatalogTable::XlsTab1, {num("Tableid"), vc("Field", 20), num("col")}};
    defs << CatalogTableDef{CatalogTable::MastDetail,
                            {num("ID"), vc("MField1", 40), vc("MField2", 40), vc("SecondTable", 100),
                             txt("FieldList"), num("DetailId"), txt("FormData"), vc("DField1", 40),
                             vc("DField2", 40), vc("DetailTitle", 50), vc("sFilter", 80)}};
    defs << CatalogTableDef{CatalogTable::UserGroup, {vc("GroupName", 50)}};
    defs << CatalogTableDef{CatalogTable::Log,
                            {id("编号"), vc("应用名称", 50), vc("类型", 10), vc("用户", kUserIdWidth), dt("日期"),
                             vc("时间", 20)}};
    defs << CatalogTableDef{CatalogTable::Online,
                            {vc("用户", kUserIdWidth), vc("登录时间", 30), num("登录次数"), vc("计算机名称", 20),
                             bit("在线情况"), vc("最后一次在线时间", 30)}};
    defs << CatalogTableDef{CatalogTable::Inform,
                            {id("ID"), vc("Title", 40), txt("Content"), vc("Editor", kUserIdWidth),
                             dt("InformDate"), txt("ShareMemo")}};
    defs << CatalogTableDef{CatalogTable::Inform1, {num("ID"), vc("UserName", 20), bit("AlreadyRead")}};
    defs << CatalogTableDef{CatalogTable::Download,
                            {vc("address", 20), vc("port", 20), vc("username", 20), vc("password", 20)}};
    defs << CatalogTableDef{CatalogTable::Setup, {vc("title", 120)}};
    defs << CatalogTableDef{CatalogTable::Everyday, {id("ID"), vc("hints", 200)}};
    return defs;
}

QString columnType(const CatalogColumn &c, const SqlDialect &d)
{
    switch (c.type) {
    case T::Identity:
        return d.identityPrimaryKey();
    case T::Varchar:
        return d.varcharType(c.size);
    case T::Text:
        return d.textType();
    case T::Bit:
        return d.bitType();
    case T::Integer:
        return d.integerType();
    case T::Float:
        return d.floatType();
    case T::DateTime:
        return d.dateTimeType();
    }
    return {};
}

} // namespace

const QStringList &CatalogNames()
{
    static const QStringList names = {
        "usys_system", "usys_dict",       "usys_Users",     "usys_orderlist", "usys_displist",
        "usys_dotab",  "usys_dotab1",     "usys_dispfield", "usys_xlstab",    "usys_xlstab1",
        "usys_mastdetail", "usys_usergroup", "usys_log",    "usys_online",    "usys_inform",
        "usys_inform1", "usys_download",  "usys_setup",     "usys_everyday"};
    return names;
}

QString CatalogName(CatalogTable t)
{
    return CatalogNames().at(static_cast<int>(t));
}

bool IsCatalogTable(const QString &name)
{
    return CatalogNames().contains(name.trimmed(), Qt::CaseInsensitive);
}

const CatalogTableDef &CatalogDefinition(CatalogTable t)
{
    static const QList<CatalogTableDef> defs = buildDefinitions();
    for (const auto &d : defs) {
        if (d.table == t)
            return d;
    }
    throw DbError(QStringLiteral("没有定义的系统表: %1").arg(CatalogName(t)));
}

const QList<CatalogTable> &FullScriptOrder()
{
    static const QList<CatalogTable> order = {
        CatalogTable::System,    CatalogTable::Users,      CatalogTable::DispList,  CatalogTable::Dict,
        CatalogTable::DoTab,     CatalogTable::DoTab1,     CatalogTable::DispField, CatalogTable::XlsTab,
        CatalogTable::XlsTab1,   CatalogTable::MastDetail, CatalogTable::UserGroup, CatalogTable::Log,
        CatalogTable::Online,    CatalogTable::Inform,     CatalogTable::Inform1,   CatalogTable::Download,
        CatalogTable::Setup,     CatalogTable::Everyday};
    return order;
}

const QList<CatalogTable> &SingleTableRoutines()
{
    static const QList<CatalogTable> tables = {
        CatalogTable::Users, CatalogTable::DispList,   CatalogTable::Dict, CatalogTable::DoTab,
        CatalogTable::DoTab1, CatalogTable::DispField, CatalogTable::MastDetail, CatalogTable::Log,
        CatalogTable::Inform, CatalogTable::Inform1};
    return tables;
}

QString CatalogCreateStatement(CatalogTable t, const SqlDialect &d)
{
    const CatalogTableDef &def = CatalogDefinition(t);
    QStringList lines;
    for (const CatalogColumn &c : def.columns)
        lines << d.quoteIdent(c.name) + ' ' + columnType(c, d);
    return "CREATE TABLE " + d.quoteIdent(CatalogName(t)) + " (" + lines.join(", ") + ")";
}

} // namespace vek
