#include "results/ShellCommands.h"

namespace scourix {

void ShellCommands::cmdOpen_Click() {}
void ShellCommands::cmdFileAttrib_Click() {}

}  // namespace scourix
