#include "types/TypeListEditing.h"

namespace scourix {

void TypeListEditing::cmdAdd_Click() {}
void TypeListEditing::cmdRemove_Click() {}
void TypeListEditing::mResetType_Click() {}
void TypeListEditing::mTSelAll_Click() {}
void TypeListEditing::mTUSelAll_Click() {}
void TypeListEditing::mTChSel_Click() {}
void TypeListEditing::lstPat_Click() {}
void TypeListEditing::lstPat_MouseUp(int, int) {}

}  // namespace scourix
