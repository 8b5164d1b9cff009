#include "fileops/Rename.h"

namespace scourix {

void Rename::mRename_Click() {}

}  // namespace scourix
