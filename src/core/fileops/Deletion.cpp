#include "fileops/Deletion.h"

namespace scourix {

void Deletion::cmdKill_Click() {}
void Deletion::cmdDeltmp_Click() {}

}  // namespace scourix
