// Where a test finds the build, the sample CD and a scratch folder, and how
// it maps drives of the test prefix.
#pragma once

#include <string>

namespace testenv {

// Linux paths handed over by CTest.
std::string SampleCdUnix();
std::string BuildDirUnix();
std::string SourceDirUnix();

// A Linux path as Wine's Z: drive shows it.
std::string WindowsPathOf(const std::string& unixPath);

// The program under test, as a Windows path.
std::string InstallExe();

// A fresh, empty folder C:\jextest\NAME of the test prefix.
std::string ScratchDir(const std::string& name);
// Deletes a folder with everything in it.
bool RemoveTree(const std::string& path);

// Maps the sample CD (or another folder) as a CD-ROM drive; removes letters.
bool MapCd(char letter, const std::string& unixFolder = SampleCdUnix());
bool MapFolder(char letter, const std::string& unixFolder, unsigned driveType);
bool Unmap(char letter);
// Removes every drive letter but c: and z:.
void UnmapAllExtraDrives();

// Reads a whole file (binary); empty when missing.
std::string ReadFileBytes(const std::string& path);
// Writes a whole file (binary), creating it or replacing its contents.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
bool DirExists(const std::string& path);

} // namespace testenv
