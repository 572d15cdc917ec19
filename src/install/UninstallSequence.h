// The uninstall button's operation: after a confirmation, removes the
// recorded installation in the reverse order of its making - but only from
// a directory that holds the installer's own copy, which every installation
// leaves there.
#pragma once

#include "install/FileSystem.h"
#include "install/OperationHost.h"

void RunUninstall(OperationHost& host, FileSystem& files = RealFileSystem());
