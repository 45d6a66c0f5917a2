#pragma once

#include <QWidget>

class QLabel;
class QStackedWidget;
class QToolButton;
class QTreeWidget;

namespace vek {

// The left panel of the main window: its title bar ("可用资源", a close button and the
// tree switch), the views in one stack (resource tree, data-table list, outlook bar) and
// the caption under them. Collapsing keeps the width to restore.
class ResourcePanel : public QWidget {
    Q_OBJECT
public:
    enum class View { Tree = 0, DataTables = 1, Outlook = 2 };

    explicit ResourcePanel(QWidget *parent = nullptr);

    void setViews(QWidget *tree, QWidget *outlook);
    QTreeWidget *dataTableList() const { return m_tables; }
    void showView(View v);
    View currentView() const;

    void setCaption(const QString &caption);
    QToolButton *treeSwitch() const { return m_switch; }

    // Collapsing remembers the width; expanding restores it (180 when below 10).
    bool isCollapsed() const { return m_collapsed; }
    void collapse();
    void expand(bool minimumWidth = true);
    int rememberedWidth() const { return m_width; }

Q_SIGNALS:
    void collapsedChanged(bool collapsed);
    void treeSwitchClicked();

private:
    QStackedWidget *m_stack;
    QTreeWidget *m_tables;
    QLabel *m_caption;
    QToolButton *m_switch;
    bool m_collapsed = false;
    int m_width = 180;
};

} // namespace vek
