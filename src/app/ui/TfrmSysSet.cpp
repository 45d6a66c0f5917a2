#include "TfrmSysSet.h"

#include "app/SettingsDefaults.h"
#include "catalog/Catalog.h"
#include "platform/DbError.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/TDModule.h"
#include "platform/ui/StoredColor.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace vek {

namespace {

QGroupBox *group(const QString &title, QWidget *parent)
{
    auto *g = new QGroupBox(title, parent);
    new QVBoxLayout(g);
    return g;
}

void paintSwatch(QToolButton *b, qint64 stored)
{
    b->setProperty("stored", stored);
    const QColor c = ColorFromStored(stored);
    b->setStyleSheet(QStringLiteral("QToolButton { background: %1; border: 1px solid #888; min-width: 40px; }")
                         .arg(c.name()));
}

} // namespace

TfrmSysSet::TfrmSysSet(AppContext &ctx, const QString &programDir, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_programDir(programDir), m_userSection(ctx.user.name)
{
    setObjectName("TfrmSysSet");
    setWindowTitle(QStringLiteral("系统设置"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName("sysSetPages");
    m_tabs->addTab(pageSystem(), QStringLiteral("系统属性"));
    m_tabs->addTab(pageBackground(), QStringLiteral("背景属性"));
    m_tabs->addTab(pageSplash(), QStringLiteral("启动界面"));
    m_tabs->addTab(pageForms(), QStringLiteral("窗体属性"));
    m_tabs->addTab(pageGrids(), QStringLiteral("表格属性"));
    m_tabs->addTab(pageColors(), QStringLiteral("颜色设置"));
    m_tabs->addTab(pageOther(), QStringLiteral("其他"));

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("sysSetOk");
    QPushButton *cancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("sysSetCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmSysSet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TfrmSysSet::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    load();
    resize(560, 460);
}

QCheckBox *TfrmSysSet::check(const QString &caption, const QString &section, const QString &key)
{
    auto *c = new QCheckBox(caption);
    c->setObjectName(QStringLiteral("set_%1_%2").arg(section, key));
    m_bindings.append({Binding::Kind::Check, c, section, key});
    return c;
}

QSpinBox *TfrmSysSet::spin(const QString &section, const QString &key, int min, int max)
{
    auto *s = new QSpinBox;
    s->setObjectName(QStringLiteral("set_%1_%2").arg(section, key));
    s->setRange(min, max);
    m_bindings.append({Binding::Kind::Spin, s, section, key});
    return s;
}

QToolButton *TfrmSysSet::color(const QString &caption, const QString &section, const QString &key)
{
    auto *b = new QToolButton;
    b->setObjectName(QStringLiteral("set_%1_%2").arg(section == m_userSection ? QStringLiteral("user") : section, key));
    b->setToolTip(caption);
    connect(b, &QToolButton::clicked, this, [this, b, caption] {
        const QColor chosen = QColorDialog::getColor(ColorFromStored(b->property("stored").toLongLong()), this, caption);
        if (chosen.isValid())
            paintSwatch(b, StoredFromColor(chosen));
    });
    m_bindings.append({Binding::Kind::Color, b, section, key});
    return b;
}

QLineEdit *TfrmSysSet::text(const QString &section, const QString &key, bool readOnly)
{
    auto *e = new QLineEdit;
    e->setObjectName(QStringLiteral("set_%1_%2").arg(section, key));
    e->setReadOnly(readOnly);
    if (!readOnly)
        m_bindings.append({Binding::Kind::Text, e, section, key});
    else
        e->setText(SettingText(m_ctx.ini, section, key));
    return e;
}

QWidget *TfrmSysSet::pageSystem()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *form = new QFormLayout;
    m_title = new QLineEdit(page);
    m_title->setObjectName("sysSetTitle");
    form->addRow(QStringLiteral("应用标题(&T)"), m_title);
    layout->addLayout(form);

    QGroupBox *login = group(QStringLiteral("登录设置"), page);
    login->layout()->addWidget(check(QStringLiteral("登录列表(&U)"), "vek2000", "UserList"));
    login->layout()->addWidget(check(QStringLiteral("登录不成功退出(&X)"), "vek2000", "UserCancel"));
    login->layout()->addWidget(check(QStringLiteral("保存登录用户名(&P)"), "Splash", "UserName"));
    auto *countRow = new QHBoxLayout;
    auto *countLabel = new QLabel(QStringLiteral("登录限制(&C)"));
    QSpinBox *count = spin("vek2000", "LoginCount", 1, 99);
    countLabel->setBuddy(count);
    countRow->addWidget(countLabel);
    countRow->addWidget(count);
    countRow->addStretch();
    static_cast<QVBoxLayout *>(login->layout())->addLayout(countRow);
    layout->addWidget(login);

    QGroupBox *other = group(QStringLiteral("其他选项"), page);
    other->layout()->addWidget(check(QStringLiteral("显示启动界面(&D)"), "Splash", "Display"));
    other->layout()->addWidget(check(QStringLiteral("单个实例(&S)"), "vek2000", "Mutex"));
    other->layout()->addWidget(check(QStringLiteral("退出提示(&E)"), "vek2000", "Exit"));
    other->layout()->addWidget(check(QStringLiteral("Web导航页(&W)"), "vek2000", "WebOpen"));
    other->layout()->addWidget(check(QStringLiteral("音乐重复播放(&M)"), "vek2000", "RepeatMusic"));
    other->layout()->addWidget(check(QStringLiteral("播放启动音乐(&C)"), "vek2000", "StartMusic"));
    layout->addWidget(other);
    layout->addStretch();
    return page;
}

QWidget *TfrmSysSet::pageBackground()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *musicRow = new QHBoxLayout;
    auto *musicLabel = new QLabel(QStringLiteral("背景音乐(&M)"));
    musicRow->addWidget(musicLabel);
    m_music = text("vek2000", "music");
    musicLabel->setBuddy(m_music);
    musicRow->addWidget(m_music, 1);
    auto *choose = new QPushButton(QStringLiteral("选择"));
    auto *clear = new QPushButton(QStringLiteral("清除"));
    musicRow->addWidget(choose);
    musicRow->addWidget(clear);
    layout->addLayout(musicRow);
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString f = QFileDialog::getOpenFileName(this, QString(), m_programDir, QStringLiteral("声音文件 (*.wav)"));
        if (!f.isEmpty())
            m_music->setText(storedPath(f));
    });
    connect(clear, &QPushButton::clicked, m_music, &QLineEdit::clear);

    m_backPicture = new QLineEdit(page);
    m_backPicture->setObjectName("sysSetBackPicture");
    m_backPreview = new QLabel(page);
    m_backPreview->setObjectName("sysSetBackPreview");
    m_backPreview->setMinimumSize(240, 150);
    m_backPreview->setFrameShape(QFrame::StyledPanel);
    m_backPreview->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_backPicture);
    layout->addWidget(m_backPreview, 1);
    auto *buttons = new QHBoxLayout;
    const QString defaultPicture = QDir(m_programDir).filePath(QStringLiteral("picture/vek2000bg.bmp"));
    const std::pair<const char *, std::function<void()>> actions[] = {
        {"更换",
         [this] {
             const QString f = QFileDialog::getOpenFileName(this, QString(), m_programDir,
                                                            QStringLiteral("位图文件 (*.bmp)"));
             if (!f.isEmpty())
                 m_backPicture->setText(f);
         }},
        {"默认", [this, defaultPicture] { m_backPicture->setText(defaultPicture); }},
        {"清除", [this] { m_backPicture->clear(); }},
    };
    for (const auto &[caption, fn] : actions) {
        auto *b = new QPushButton(QString::fromUtf8(caption));
        connect(b, &QPushButton::clicked, this, fn);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(m_backPicture, &QLineEdit::textChanged, this, [this](const QString &path) {
        const QPixmap pm(path);
        m_backPreview->setPixmap(pm.isNull() ? QPixmap() : pm.scaled(m_backPreview->size(), Qt::KeepAspectRatio));
        m_backPreview->setText(pm.isNull() ? QStringLiteral("（无图片）") : QString());
    });
    return page;
}

QWidget *TfrmSysSet::pageSplash()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_splashFile = text("Splash", "FileName");
    layout->addWidget(m_splashFile);
    QGroupBox *size = group(QStringLiteral("图像大小"), page);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("宽度"), spin("Splash", "Width", 50, 4000));
    form->addRow(QStringLiteral("高度"), spin("Splash", "Height", 50, 4000));
    static_cast<QVBoxLayout *>(size->layout())->addLayout(form);
    layout->addWidget(size);
    auto *change = new QPushButton(QStringLiteral("更换"));
    connect(change, &QPushButton::clicked, this, [this] {
        const QString f = QFileDialog::getOpenFileName(this, QString(), m_programDir, QStringLiteral("位图文件 (*.bmp)"));
        if (!f.isEmpty())
            m_splashFile->setText(storedPath(f));
    });
    layout->addWidget(change);
    layout->addStretch();
    return page;
}

QWidget *TfrmSysSet::pageForms()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    QGroupBox *forms = group(QStringLiteral("新建窗体"), page);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("背景颜色"), color(QStringLiteral("背景颜色"), "vek2000", "FormBG"));
    form->addRow(QStringLiteral("字体颜色"), color(QStringLiteral("字体颜色"), "vek2000", "FormFont"));
    auto *font = new QFontComboBox;
    font->setObjectName("set_vek2000_FontName");
    m_bindings.append({Binding::Kind::Font, font, "vek2000", "FontName"});
    form->addRow(QStringLiteral("字体名称"), font);
    form->addRow(QStringLiteral("字体大小"), spin("vek2000", "FontSize", 6, 72));
    static_cast<QVBoxLayout *>(forms->layout())->addLayout(form);
    layout->addWidget(forms);

    QGroupBox *labels = group(QStringLiteral("字段文本标签"), page);
    auto *leftRow = new QFormLayout;
    leftRow->addRow(QStringLiteral("到编辑框的字数"), spin("Label", "Left", 0, 99));
    static_cast<QVBoxLayout *>(labels->layout())->addLayout(leftRow);
    labels->layout()->addWidget(check(QStringLiteral("字段名称文本左对齐"), "Label", "LabelAlign"));
    labels->layout()->addWidget(check(QStringLiteral("文本标签后加冒号"), "Label", "Colon"));
    layout->addWidget(labels);
    layout->addWidget(check(QStringLiteral("查找与筛选工具条(&N)"), "vek2000", "Navigator"));
    layout->addWidget(check(QStringLiteral("新建或打开窗体时关闭窗体列表(&L)"), "vek2000", "frmTreeview"));
    layout->addWidget(check(QStringLiteral("关闭窗体时提示(&C)"), "vek2000", "CloseDataWindow"));
    layout->addStretch();
    return page;
}

QWidget *TfrmSysSet::pageGrids()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    QGroupBox *look = group(QStringLiteral("显示界面"), page);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("标题列字体颜色"), color(QStringLiteral("标题列字体颜色"), "vek2000", "GridTitleColor"));
    form->addRow(QStringLiteral("数据项字体颜色"), color(QStringLiteral("数据项字体颜色"), "vek2000", "DataColor"));
    form->addRow(QStringLiteral("背景颜色"), color(QStringLiteral("背景颜色"), "vek2000", "BGColor"));
    static_cast<QVBoxLayout *>(look->layout())->addLayout(form);
    layout->addWidget(look);
    QGroupBox *other = group(QStringLiteral("窗体表格其他属性"), page);
    other->layout()->addWidget(check(QStringLiteral("复制字段内容为非空记录到剪贴板(&V)"), "DBGrid", "copyToClip"));
    other->layout()->addWidget(check(QStringLiteral("表格提示框只包含非空字段内容(&G)"), "DBGrid", "GridHint"));
    other->layout()->addWidget(check(QStringLiteral("报表打印自动折行(&M)"), "DBGrid", "MutiLine"));
    other->layout()->addWidget(check(QStringLiteral("表格文本字段显示为“(Memo)”(&T)"), "vek2000", "Memo"));
    other->layout()->addWidget(check(QStringLiteral("表格标题居中(&C)"), "vek2000", "GridTitleAlign"));
    layout->addWidget(other);
    layout->addStretch();
    return page;
}

QWidget *TfrmSysSet::pageColors()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    const QString u = m_userSection;
    QGroupBox *tree = group(QStringLiteral("树型窗口"), page);
    auto *f1 = new QFormLayout;
    f1->addRow(QStringLiteral("标题背景颜色"), color(QStringLiteral("标题背景颜色"), u, "Center_BColor"));
    f1->addRow(QStringLiteral("标题字体颜色"), color(QStringLiteral("标题字体颜色"), u, "Center_FColor"));
    static_cast<QVBoxLayout *>(tree->layout())->addLayout(f1);
    layout->addWidget(tree);
    QGroupBox *list = group(QStringLiteral("窗体列表"), page);
    auto *f2 = new QFormLayout;
    f2->addRow(QStringLiteral("背景颜色"), color(QStringLiteral("背景颜色"), u, "TreeView_BColor"));
    f2->addRow(QStringLiteral("字体颜色"), color(QStringLiteral("字体颜色"), u, "TreeView_FColor"));
    static_cast<QVBoxLayout *>(list->layout())->addLayout(f2);
    layout->addWidget(list);
    auto *f3 = new QFormLayout;
    f3->addRow(QStringLiteral("主窗口背景颜色"), color(QStringLiteral("主窗口背景颜色"), u, "Form_BColor"));
    f3->addRow(QStringLiteral("状态栏背景颜色"), color(QStringLiteral("状态栏背景颜色"), u, "Status_BColor"));
    layout->addLayout(f3);
    layout->addStretch();
    return page;
}

QWidget *TfrmSysSet::pageOther()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    QGroupBox *status = group(QStringLiteral("状态栏内容"), page);
    status->layout()->addWidget(check(QStringLiteral("版本类型"), "StatusBar", "VerType"));
    status->layout()->addWidget(check(QStringLiteral("登录用户名"), "StatusBar", "LogUserName"));
    status->layout()->addWidget(check(QStringLiteral("日期和时间"), "StatusBar", "DateTime"));
    status->layout()->addWidget(check(QStringLiteral("版本号"), "StatusBar", "VerNo"));
    status->layout()->addWidget(check(QStringLiteral("新消息图标"), "StatusBar", "Ico"));
    status->layout()->addWidget(check(QStringLiteral("记录数"), "StatusBar", "RecordCount"));
    layout->addWidget(status);
    QGroupBox *messages = group(QStringLiteral("系统消息"), page);
    auto *f = new QFormLayout;
    f->addRow(QStringLiteral("检查消息时间间隔"), spin("Message", "Time", 0, 3600));
    static_cast<QVBoxLayout *>(messages->layout())->addLayout(f);
    layout->addWidget(messages);
    QGroupBox *other = group(QStringLiteral("其他选项"), page);
    auto *f2 = new QFormLayout;
    f2->addRow(QStringLiteral("网页"), text("vek2000", "http", true));
    f2->addRow(QStringLiteral("邮箱"), text("vek2000", "email", true));
    static_cast<QVBoxLayout *>(other->layout())->addLayout(f2);
    layout->addWidget(other);
    layout->addStretch();
    return page;
}

void TfrmSysSet::load()
{
    for (const Binding &b : m_bindings) {
        switch (b.kind) {
        case Binding::Kind::Check:
            static_cast<QCheckBox *>(b.widget)->setChecked(SettingBool(m_ctx.ini, b.section, b.key));
            break;
        case Binding::Kind::Spin:
            static_cast<QSpinBox *>(b.widget)->setValue(SettingInt(m_ctx.ini, b.section, b.key));
            break;
        case Binding::Kind::Text:
            static_cast<QLineEdit *>(b.widget)->setText(SettingText(m_ctx.ini, b.section, b.key));
            break;
        case Binding::Kind::Color:
            paintSwatch(static_cast<QToolButton *>(b.widget), SettingColor(m_ctx.ini, b.section, b.key));
            break;
        case Binding::Kind::Font:
            static_cast<QFontComboBox *>(b.widget)->setCurrentFont(QFont(SettingText(m_ctx.ini, b.section, b.key)));
            break;
        }
    }
    QString title;
    try {
        title = m_ctx.db.isOpen() ? ReadAppTitle(m_ctx.db) : SettingText(m_ctx.ini, "vek2000", "AppTitle");
    } catch (const DbError &) {
        title = SettingText(m_ctx.ini, "vek2000", "AppTitle");
    }
    m_title->setText(title);
    QString picture = m_ctx.ini.value("Application", m_userSection + "_BackPict", QStringLiteral("vek2000bg.bmp"));
    if (!picture.contains('/') && !picture.contains('\\'))
        picture = QDir(m_programDir).filePath(QStringLiteral("picture/") + picture);
    m_backPicture->setText(picture);
}

QString TfrmSysSet::storedPath(const QString &path) const
{
    // A file inside the program folder is stored relative to it.
    const QString dir = QDir(m_programDir).absolutePath() + '/';
    return path.startsWith(dir, Qt::CaseInsensitive) ? path.mid(dir.size()) : path;
}

QString TfrmSysSet::appTitle() const
{
    return m_title->text().trimmed();
}

bool TfrmSysSet::save()
{
    bool ok = m_ctx.ini.setValue("vek2000", "AppTitle", appTitle());
    // Without a user there is no per-user section to write.
    if (!m_userSection.isEmpty())
        ok = m_ctx.ini.setValue("Application", m_userSection + "_BackPict", m_backPicture->text()) && ok;
    for (const Binding &b : m_bindings) {
        if (b.section.isEmpty())
            continue;
        switch (b.kind) {
        case Binding::Kind::Check:
            ok = m_ctx.ini.setBool(b.section, b.key, static_cast<QCheckBox *>(b.widget)->isChecked()) && ok;
            break;
        case Binding::Kind::Spin:
            ok = m_ctx.ini.setValue(b.section, b.key, QString::number(static_cast<QSpinBox *>(b.widget)->value())) && ok;
            break;
        case Binding::Kind::Text:
            ok = m_ctx.ini.setValue(b.section, b.key, static_cast<QLineEdit *>(b.widget)->text()) && ok;
            break;
        case Binding::Kind::Color:
            ok = m_ctx.ini.setValue(b.section, b.key,
                                    QString::number(qint32(quint32(b.widget->property("stored").toLongLong()))))
                && ok;
            break;
        case Binding::Kind::Font:
            ok = m_ctx.ini.setValue(b.section, b.key, static_cast<QFontComboBox *>(b.widget)->currentFont().family())
                && ok;
            break;
        }
    }
    if (!ok) {
        m_ctx.prompter.error(QStringLiteral("设置文件不能保存: ") + m_ctx.ini.lastError());
        return false;
    }
    if (m_ctx.db.isOpen() && m_ctx.db.state().libraryOpen && !m_ctx.db.state().browseMode) {
        try {
            WriteAppTitle(m_ctx.db, appTitle());
        } catch (const DbError &e) {
            m_ctx.prompter.error(QStringLiteral("应用标题不能保存: ") + e.message());
            return false;
        }
    }
    return true;
}

void TfrmSysSet::accept()
{
    if (save())
        QDialog::accept();
}

} // namespace vek
