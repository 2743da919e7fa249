#include "storage/StorageMessages.h"

#include "seams/Observer.h"
#include "text/StringTable.h"

namespace qn {

void ShowStorageMessage(IQNObserver& observer, int id) {
  observer.ShowMessage(id, BuiltinString(id));
}

QNWaitNote::QNWaitNote(IQNObserver& observer, int id)
    : observer_(observer), text_(BuiltinString(id)) {
  observer_.ShowWait(text_, true);
}

QNWaitNote::~QNWaitNote() {
  observer_.ShowWait(text_, false);
}

}  // namespace qn
