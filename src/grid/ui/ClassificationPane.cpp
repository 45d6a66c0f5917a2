#include "ClassificationPane.h"

#include "grid/GridSession.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace vek {

namespace {
constexpr int kPathRole = Qt::UserRole + 1;
}

ClassificationPane::ClassificationPane(GridSession &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("ClassificationPane"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("classPaneCaption"));
    m_caption->setVisible(false);
    column->addWidget(m_caption);
    auto *top = new QHBoxLayout;
    m_fieldList = new QComboBox(this);
    m_fieldList->setObjectName(QStringLiteral("classFieldList"));
    top->addWidget(m_fieldList, 1);
    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("classPaneClose"));
    close->setText(QStringLiteral("×"));
    close->setToolTip(QStringLiteral("隐藏分组"));
    top->addWidget(close);
    column->addLayout(top);
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("classTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_model = new QStandardItemModel(this);
    m_tree->setModel(m_model);
    column->addWidget(m_tree, 1);

    connect(m_tree, &QTreeView::clicked, this, &ClassificationPane::clicked);
    connect(m_tree, &QTreeView::customContextMenuRequested, this, &ClassificationPane::showMenu);
    connect(close, &QToolButton::clicked, this, &ClassificationPane::collapseRequested);
    connect(m_fieldList, &QComboBox::activated, this, [this](int i) {
        // A one-level tree of the field chosen above it.
        const QString field = m_fieldList->itemData(i).toString();
        if (field.isEmpty())
            return;
        try {
            build(ClassFields{field, {}, {}}, m_counts);
        } catch (const DbError &e) {
            m_session.context().prompter.error(e.message());
        }
    });
    refillFieldList();
}

void ClassificationPane::refillFieldList()
{
    m_fieldList->clear();
    for (const GridField &f : m_session.fields())
        m_fieldList->addItem(f.caption, f.name);
    if (m_fieldList->count() > 1)
        m_fieldList->setCurrentIndex(1);
}

void ClassificationPane::setFieldListVisible(bool on)
{
    m_fieldList->setVisible(on);
}

QList<QVariant> ClassificationPane::selectedPath() const
{
    const QVariantList path = m_tree->currentIndex().data(kPathRole).toList();
    return QList<QVariant>(path.begin(), path.end());
}

void ClassificationPane::setCaption(const QString &caption)
{
    m_caption->setText(caption);
    m_caption->setVisible(!caption.isEmpty());
}

void ClassificationPane::build(const ClassFields &fields, bool countsOn)
{
    ClassNode root = m_session.buildClassTree(fields, countsOn);
    m_fields = fields;
    m_counts = countsOn;
    m_root = root;
    m_model->clear();
    auto *item = new QStandardItem(m_root.label);
    item->setData(QVariantList(), kPathRole);
    m_model->appendRow(item);
    addChildren(item, m_root);
    m_tree->expand(item->index());
    const int at = m_fieldList->findData(fields.f1);
    if (at >= 0)
        m_fieldList->setCurrentIndex(at);
}

void ClassificationPane::rebuild()
{
    if (!m_fields.f1.isEmpty())
        build(m_fields, m_counts);
}

void ClassificationPane::addChildren(QStandardItem *parent, const ClassNode &node)
{
    for (const ClassNode &child : node.children) {
        auto *item = new QStandardItem(child.label);
        item->setData(QVariantList(child.path.begin(), child.path.end()), kPathRole);
        parent->appendRow(item);
        addChildren(item, child);
    }
}

const ClassNode *ClassificationPane::nodeAt(const QModelIndex &index) const
{
    if (!index.isValid())
        return nullptr;
    const QVariantList path = index.data(kPathRole).toList();
    const ClassNode *node = &m_root;
    for (const QVariant &v : path) {
        const ClassNode *next = nullptr;
        for (const ClassNode &c : node->children) {
            if (c.value == v) {
                next = &c;
                break;
            }
        }
        if (!next)
            return nullptr;
        node = next;
    }
    return node;
}

void ClassificationPane::clicked(const QModelIndex &index)
{
    const ClassNode *node = nodeAt(index);
    if (!node || (m_settle && !m_settle()))
        return;
    try {
        m_session.selectClassNode(m_fields, *node);
    } catch (const DbError &) {
        return; // the previous records stay
    }
    Q_EMIT nodeSelected();
}

bool ClassificationPane::selectValue(const QList<QVariant> &path)
{
    QModelIndex index = m_model->index(0, 0);
    for (const QVariant &v : path) {
        QModelIndex found;
        for (int r = 0; r < m_model->rowCount(index); ++r) {
            const QModelIndex child = m_model->index(r, 0, index);
            if (child.data(kPathRole).toList().value(path.indexOf(v)) == v) {
                found = child;
                break;
            }
        }
        if (!found.isValid())
            return false;
        index = found;
    }
    m_tree->setCurrentIndex(index);
    clicked(index);
    return true;
}

void ClassificationPane::showMenu(const QPoint &pos)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("折叠"), m_tree, &QTreeView::collapseAll);
    menu.addAction(QStringLiteral("展开"), m_tree, &QTreeView::expandAll);
    QAction *counts = menu.addAction(QStringLiteral("显示记录数"));
    counts->setCheckable(true);
    counts->setChecked(m_counts);
    connect(counts, &QAction::triggered, this, [this](bool on) {
        m_counts = on;
        try {
            rebuild();
        } catch (const DbError &e) {
            m_session.context().prompter.error(e.message());
        }
    });
    menu.addAction(QStringLiteral("刷新"), this, [this] {
        try {
            rebuild();
        } catch (const DbError &e) {
            m_session.context().prompter.error(e.message());
        }
    });
    menu.addAction(QStringLiteral("保存到文件"), this, &ClassificationPane::saveToFile);
    menu.exec(m_tree->viewport()->mapToGlobal(pos));
}

void ClassificationPane::saveToFile()
{
    // Into the user's temporary folder, never the program's.
    const QString path = QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation)).filePath("temp.txt");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_session.context().prompter.error(QStringLiteral("文件保存失败：") + path);
        return;
    }
    f.write(ClassTreeText(m_root).toUtf8());
    f.close();
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace vek
