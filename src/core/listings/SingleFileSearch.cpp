#include "listings/SingleFileSearch.h"

namespace scourix {

void SingleFileSearch::cmdFindFile_Click() {}

}  // namespace scourix
