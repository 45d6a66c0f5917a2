#include "TfrmClassDialog.h"

#include "grid/ClassificationTree.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vek {

namespace {

const char *const kKeys[3] = {"ClassField", "ClassField1", "ClassField2"};

} // namespace

TfrmClassDialog::TfrmClassDialog(IniFile &ini, Prompter &prompter, const QString &section,
                                 const QStringList &captions, QWidget *parent)
    : QDialog(parent), m_ini(ini), m_prompter(prompter), m_section(section),
      m_ok(new QPushButton(QStringLiteral("确定"), this)), m_cancel(new QPushButton(QStringLiteral("取消"), this))
{
    setObjectName("TfrmClassDialog");
    setWindowTitle(QStringLiteral("分组显示"));
    setModal(true);

    auto *form = new QFormLayout;
    const QString labels[3] = {QStringLiteral("第一分组"), QStringLiteral("第二分组"), QStringLiteral("第三分组")};
    for (int i = 0; i < 3; ++i) {
        auto *combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("classCombo%1").arg(i));
        combo->setMinimumWidth(180);
        form->addRow(labels[i], combo);
        m_combos.append(combo);
    }
    m_ok->setObjectName("okButton");
    m_ok->setDefault(true);
    m_cancel->setObjectName("cancelButton");
    connect(m_ok, &QPushButton::clicked, this, &TfrmClassDialog::store);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setCaptions(captions);
}

void TfrmClassDialog::setCaptions(const QStringList &captions)
{
    for (QComboBox *combo : m_combos) {
        combo->clear();
        combo->addItem(QString());
        combo->addItems(captions);
    }
    loadChoice();
}

void TfrmClassDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    loadChoice();
    if (!m_ini.setBool(m_section, "ClassDisplay", true))
        m_prompter.error(QStringLiteral("设置文件不能保存: ") + m_ini.lastError());
}

void TfrmClassDialog::loadChoice()
{
    for (int i = 0; i < 3; ++i) {
        const int at = m_combos[i]->findText(m_ini.value(m_section, kKeys[i]));
        m_combos[i]->setCurrentIndex(at < 0 ? 0 : at);
    }
}

void TfrmClassDialog::store()
{
    const ClassDialogChoice choice = NormaliseClassChoice(m_combos[0]->currentText(), m_combos[1]->currentText(),
                                                    m_combos[2]->currentText());
    const QString values[3] = {choice.first, choice.second, choice.third};
    for (int i = 0; i < 3; ++i) {
        if (!m_ini.setValue(m_section, kKeys[i], values[i])) {
            m_prompter.error(QStringLiteral("设置文件不能保存: ") + m_ini.lastError());
            return;
        }
    }
    accept();
}

} // namespace vek
