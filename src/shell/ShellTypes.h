#pragma once
// Root designations and the known folders they name, and the module's start-up.
#include "shell/RootDesignation.h"
#include "shell/RootFolder.h"
#include "shell/RootFolderBatch.h"
#include "shell/ShellModule.h"
#include "shell/StrRet.h"
