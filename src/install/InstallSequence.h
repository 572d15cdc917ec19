// The install button's operation: CD, the already-installed question, the
// options dialog with the free-space check, then directories, files,
// shortcuts and the install record, and at the end the offer to start the
// configuration program and the game.
#pragma once

#include "install/FileSystem.h"
#include "install/InstallState.h"
#include "install/OperationHost.h"

#include <cstddef>

// The longest target the options dialog takes: every path of the manifest
// must fit under it, and the record of it must be readable again.
size_t TargetLengthLimit();

void RunInstall(InstallState& state, OperationHost& host, FileSystem& files = RealFileSystem());
