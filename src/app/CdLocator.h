// Finds the drive that holds the game's CD by the marker file in its root.
#pragma once

// The first letter at or after `letter`, up to 'z', whose root is a CD-ROM
// drive, or 0 when there is none.
char NextCdDrive(char letter);

// The lower-case letter of the CD-ROM drive whose root holds "jex.ico", or
// 0 when no drive does. Drives a: and b: are never tried.
char LocateCd();
