#pragma once

namespace vek {

class Prompter;
class RecordSet;

enum class SettleResult {
    Nothing,   // no change was pending (an untouched edit is simply cancelled)
    Posted,    // the change was saved
    Discarded, // the user chose to drop the change
    Stay,      // the change is still pending: the caller abandons its close, requery or move
};

// Called before anything that would drop the record set's edit buffer (requery, close,
// re-setup, sort, filter, classification click, moving to another record). A changed
// record is not lost silently: the user chooses to save it, discard it or stay with it.
// When the save is refused or fails the user has been told why and stays on the record.
//
// Ask: the user is asked first (save, discard or stay), as forms do.
// Post: the change is saved through the rules straight away, as grids do when the user
// moves on; only a save that is refused or fails asks whether to discard it or stay.
enum class SettleMode { Ask, Post };
SettleResult SettlePendingEdit(RecordSet &rs, Prompter &prompter, SettleMode mode = SettleMode::Ask);

} // namespace vek
