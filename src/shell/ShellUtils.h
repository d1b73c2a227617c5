#pragma once
// Small shell operations, item paths and the delimited-text list encoding.
#include "shell/DelimitedText.h"
#include "shell/ItemPath.h"
#include "shell/ShellHandles.h"
#include "shell/ShellItems.h"
