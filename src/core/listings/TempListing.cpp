#include "listings/TempListing.h"

namespace scourix {

void TempListing::mListtempfiles_Click() {}

}  // namespace scourix
