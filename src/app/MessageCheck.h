#pragma once

namespace vek {

struct AppContext;

// Whether the current user has messages not yet read. The message tables are made
// when the schema says they are absent (each on its own; a failure only means no
// messages). Never throws: the check runs from a timer.
bool HasUnreadMessages(AppContext &ctx);

} // namespace vek
