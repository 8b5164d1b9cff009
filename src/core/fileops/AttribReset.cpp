#include "fileops/AttribReset.h"

namespace scourix {

void AttribReset::SetFileAttrib() {}

}  // namespace scourix
