// What an interrupted run leaves behind: nothing. Every temporary output the
// tool writes is created here and stays listed until it is renamed onto its
// target or removed; SIGINT, SIGTERM and SIGHUP remove every listed file and
// folder, clear a progress line still on the terminal, and end the process
// by the same signal (a shell then reports 130, 143 or 129).
#pragma once

#include <string>

namespace aaxtool
{
// Installs the handlers; call once from main before any thread starts. [host]
void InstallSignalCleanup();

// Creates a new hidden file ".<name>.XXXXXX" in target's folder (six random
// characters, O_EXCL, mode 0666 less the umask) and lists it for removal on
// a signal before it exists, so no signal can leave it behind. Returns the
// open descriptor (close-on-exec) and the file's path in *temp; -1 with
// errno set when the folder refuses it. [any]
int CreateTemporaryFile(const std::string& target, std::string* temp);

// The file is gone or renamed onto its target: a signal leaves it alone.
// Call after the rename or unlink. [any]
void ForgetTemporaryFile(const std::string& temp);

// As CreateTemporaryFile, for a folder others write into (lilv writes a
// state's files itself): ".<name>.XXXXXX" beside target, mode 0777 less the
// umask. A signal removes it with whatever is in it by then, four levels of
// folders deep; symbolic links in it are removed, never followed. Returns 0,
// or -1 with errno set. [any]
int CreateTemporaryFolder(const std::string& target, std::string* temp);

// The folder is gone or renamed onto its target: a signal leaves it alone. [any]
void ForgetTemporaryFolder(const std::string& temp);

// A progress line is on the terminal (stderr) and must be cleared when a
// signal ends the run; false once it was cleared. [any]
void SetProgressLineShown(bool shown);

// How many files and folders are listed (for tests). [any]
int ListedTemporaryFiles();
} // namespace aaxtool
