#include "types/TypeDescriptions.h"

namespace scourix {

void TypeDescriptions::mReportType_Click() {}

}  // namespace scourix
