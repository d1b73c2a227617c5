#include "support/ShellModuleEnvironment.h"
