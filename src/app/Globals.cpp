#include "app/Globals.h"

char CdRoot[kPathBufferSize] = "X:\\";
char CdLetter[4] = "X";
char InstallPath[kPathBufferSize] = "C:\\Program Files\\Kestrel Forge\\Jex";
int32_t FullInstall = 0;
