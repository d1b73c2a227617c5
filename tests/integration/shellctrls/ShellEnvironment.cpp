// The shell helpers live for the whole test program, as in the program itself.
#include "support/ShellModuleEnvironment.h"
