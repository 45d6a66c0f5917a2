#pragma once

#include "platform/AppContext.h"

#include <QObject>
#include <QString>
#include <optional>
#include <utility>

class QMenuBar;

namespace vek {

class ResourceOpener;
class ResourceTreeView;
class TfrmMain;

// The library's life in the main window: open, create, connect, log in, lock, close,
// and opening resources from the tree. Each step reports in the system's own words and
// leaves the shell usable.
class ResourceShell : public QObject {
    Q_OBJECT
public:
    ResourceShell(TfrmMain &main, AppContext &ctx);

    // Library files and connections.
    bool newLibrary(const QString &chosenPath = {});
    void openWithDialog();
    bool openLibraryFile(const QString &path);
    bool openBrowseFile(const QString &path);
    bool closeLibrary(bool ask);
    void startServer();
    void connectDatabase();
    void connectNetworkApplication();

    // Users.
    bool relogin();
    void lock();
    void changePassword();
    void systemSettings();
    void markOfflineQuietly();
    // Logs in as name without the dialog (the screenshot and automation route).
    void setUnattendedLogin(const QString &name, const QString &password);

    // The resource panel.
    void rebuildTree();
    void toggleDataTables();
    void fillDataTables();
    void switchTreeAndOutlook();
    void applyOutlookStyle(int style);
    void showTreeStyle();
    QMenuBar *resourceMenuBar() const;
    ResourceTreeView *treeView() const { return m_tree; }

    // Opening (from the tree, the outlook bar, the menu, or by title).
    void openResource(int id, const QString &title, int picture);
    void openByTitle(const QString &title, const QString &kind = {});
    void openDataTable(const QString &table);

    // The user must be a system user with a library open; says why not otherwise.
    bool requireSystemUser();
    void noRights();
    // "请登录后使用本模块！"
    void loginFirst();

    ResourceOpener &opener() { return *m_opener; }

    void about();
    void insertFileName();
    void openLinkInFocus();

private:
    // Login dialog; false when the user could not or did not log in.
    bool runLogin();
    void afterLogin();
    void resetToNoLibrary();
    // Closes the windows on the library; false when one stays open (a pending edit).
    bool closeWindows();
    void enterBrowseMode();
    void showLibraryCaption(const QString &path);
    void enterConnectedDatabase();
    QWidget *window() const;

    TfrmMain &m_main;
    AppContext &m_ctx;
    ResourceTreeView *m_tree = nullptr;
    ResourceOpener *m_opener = nullptr;
    QString m_libraryPath;
    std::optional<std::pair<QString, QString>> m_unattended;
};

} // namespace vek
