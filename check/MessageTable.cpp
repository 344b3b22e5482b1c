#include "MessageTable.h"

void MessageTable::Clear() {
    subjects.clear();
    froms.clear();
    mailboxes.clear();
    headerTexts.clear();
    states.clear();
}
