#pragma once

#include "platform/AppContext.h"

#include <QObject>
#include <QString>

namespace vek {

struct CurrentResource;
struct GridResource;
class TfrmDBGrid;
class ResourceShell;
class TfrmMain;

// Opens what the user chose in the tree, the outlook bar, the resource menu or by
// title: it checks what the user may reach first, prepares the resource's state, and
// hands it to the window of its kind.
class ResourceOpener : public QObject {
    Q_OBJECT
public:
    ResourceOpener(TfrmMain &main, AppContext &ctx, ResourceShell &shell);

    void openResource(int id, const QString &title, int picture);
    void openByTitle(const QString &title, const QString &kind = {});
    void openDataTable(const QString &table);
    // The grid window of a resource, opened as an MDI child (or the one already open).
    TfrmDBGrid *openGrid(const CurrentResource &r);
    TfrmDBGrid *showGrid(const GridResource &g);

private:
    // Opens the registered window of a built-in title; false (after saying so) when none.
    bool openRegistered(const QString &title);
    void notAvailable(const QString &title);
    void openExternal(const CurrentResource &r);

    TfrmMain &m_main;
    AppContext &m_ctx;
    ResourceShell &m_shell;
};

} // namespace vek
