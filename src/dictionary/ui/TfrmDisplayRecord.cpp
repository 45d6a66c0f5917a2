#include "TfrmDisplayRecord.h"

#include "dictionary/RecordChoice.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vek {

namespace {

class ChoiceModel : public QAbstractTableModel {
public:
    ChoiceModel(const RecordChoice &choice, QObject *parent) : QAbstractTableModel(parent), m_choice(choice) {}

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : m_choice.rowCount(); }
    int columnCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : m_choice.columnCount();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return QVariant();
        const QVariant v = m_choice.value(index.row(), index.column());
        return v.isNull() ? QVariant() : QVariant(v.toString());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return QVariant();
        if (orientation == Qt::Horizontal)
            return m_choice.columnNames().value(section);
        return section + 1;
    }

private:
    const RecordChoice &m_choice;
};

} // namespace

TfrmDisplayRecord::TfrmDisplayRecord(RecordChoice &choice, QWidget *parent)
    : QDialog(parent), m_choice(choice), m_grid(new QTableView(this)), m_hint(new QLabel(this)),
      m_choose(new QPushButton(this))
{
    setObjectName("TfrmDisplayRecord");
    setWindowTitle(QStringLiteral("选择"));
    setModal(true);
    resize(520, 360);

    m_grid->setObjectName("recordGrid");
    m_grid->setModel(new ChoiceModel(m_choice, m_grid));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setAlternatingRowColors(true);
    QPalette pal = m_grid->palette();
    pal.setColor(QPalette::AlternateBase, QColor(0xC4, 0xC4, 0xFF)); // $FFC4C4, a BGR colour word
    m_grid->setPalette(pal);
    m_grid->horizontalHeader()->setStretchLastSection(true);

    m_hint->setObjectName("hintLabel");
    m_hint->setText(QStringLiteral("双击选中内容"));
    m_choose->setObjectName("chooseButton");
    m_choose->setText(QStringLiteral("选中"));
    m_choose->setEnabled(m_choice.rowCount() > 0);
    m_choose->setDefault(true);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_hint);
    bottom->addStretch();
    bottom->addWidget(m_choose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(bottom);

    if (m_choice.current() >= 0)
        m_grid->selectRow(m_choice.current());
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { m_choice.setCurrent(current.isValid() ? current.row() : -1); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (!index.isValid())
            return;
        m_choice.setCurrent(index.row());
        m_choose->click();
    });
    connect(m_choose, &QPushButton::clicked, this, &TfrmDisplayRecord::choose);
}

void TfrmDisplayRecord::choose()
{
    if (m_choice.current() < 0)
        return;
    accept();
}

} // namespace vek
