#include "Signals.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sched.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace aaxtool
{
namespace
{
// The handler may run on any thread while others go on registering and
// forgetting, so the list is fixed slots with inline paths (no allocation,
// no lock). A slot is free, being written, or listed.
enum SlotState : int
{
  kFree = 0,
  kBusy = 1,
  kListed = 2,
};

constexpr int kSlots = 512; // -j allows 256 renders, each with one output
// No member initialisers: the table is zero (kFree) as static storage, in
// pages the process never touches unless it registers; initialisers make the
// compiler write all 2 MiB at start-up, a few milliseconds of every run.
struct Slot
{
  std::atomic<int> state;
  bool folder; // written while the slot is busy, read once listed
  char path[PATH_MAX];
};
static_assert(kFree == 0, "a zeroed slot is free");
Slot sSlots[kSlots];

// Set once a handler has begun; from then on nothing new is created.
std::atomic<bool> sCleaning{false};
// Threads between "decided to create" and "created and listed". The handler
// waits for them, so every file that exists when it scans is listed.
std::atomic<int> sCreating{0};
std::atomic<bool> sProgressShown{false};

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Blocks the three signals in this thread for a scope, so a handler cannot
// interrupt the thread while it holds a slot or the creating count.
class Blocked
{
public:
  Blocked()
  {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kSignals)
      sigaddset(&set, s);
    pthread_sigmask(SIG_BLOCK, &set, &mOld);
  }
  ~Blocked() { pthread_sigmask(SIG_SETMASK, &mOld, nullptr); }

private:
  sigset_t mOld;
};

// A folder's entries are read with getdents64, the system call under
// readdir: opendir allocates, which a handler must not. One buffer per level
// of folders, since a level's entries are still being walked while the
// level below is emptied; the handler runs once, so they can be static.
constexpr int kFolderDepth = 4;
constexpr size_t kDirentBytes = 4096;
alignas(8) char sDirents[kFolderDepth + 1][kDirentBytes];

// Removes what the folder open as fd holds, depth levels below the listed one.
void EmptyFolder(int fd, int depth)
{
  char* buf = sDirents[depth];
  for (ssize_t n; (n = getdents64(fd, buf, kDirentBytes)) > 0;)
    for (ssize_t at = 0; at < n;)
    {
      const auto* e = reinterpret_cast<const struct dirent64*>(buf + at);
      at += e->d_reclen;
      const char* name = e->d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      // unlinkat removes a symbolic link itself, and refuses a folder.
      if (unlinkat(fd, name, 0) == 0 || errno != EISDIR || depth == kFolderDepth) continue;
      const int sub = openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (sub < 0) continue;
      EmptyFolder(sub, depth + 1);
      close(sub);
      unlinkat(fd, name, AT_REMOVEDIR);
    }
}

// Another thread may still be writing into the folder (lilv on the thread
// that saves, when the signal came to another): empty it again until it
// goes, a few times at most.
void RemoveFolder(const char* path)
{
  for (int attempt = 0; attempt < 8; ++attempt)
  {
    const int fd = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    EmptyFolder(fd, 0);
    close(fd);
    if (rmdir(path) == 0 || errno != ENOTEMPTY) return;
  }
}

[[noreturn]] void WaitToDie()
{
  for (;;)
    pause();
}

void OnSignal(int sig)
{
  // A second signal on another thread: the first handler finishes the job.
  if (sCleaning.exchange(true)) WaitToDie();
  // A thread in the middle of creating a file finishes it (a few system
  // calls), so that file is listed before the scan.
  for (int spins = 0; sCreating.load() > 0 && spins < 100000; ++spins)
    sched_yield();
  for (Slot& slot : sSlots)
  {
    int listed = kListed;
    if (!slot.state.compare_exchange_strong(listed, kBusy)) continue;
    if (slot.folder)
      RemoveFolder(slot.path);
    else
      unlink(slot.path);
  }
  if (sProgressShown.load())
  {
    static const char kClear[] = "\r\033[K";
    (void)!write(STDERR_FILENO, kClear, sizeof kClear - 1);
  }
  // Die of the signal itself, so the parent sees what ended the run.
  struct sigaction dfl;
  std::memset(&dfl, 0, sizeof dfl);
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  sigaction(sig, &dfl, nullptr);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, sig);
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  raise(sig);
  _exit(128 + sig);
}

// Six characters from [A-Za-z0-9], as mkstemp uses.
void RandomSuffix(char* out)
{
  static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[6] = {};
  if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
  {
    static std::atomic<unsigned> counter{0};
    const unsigned v = (static_cast<unsigned>(getpid()) << 12) ^ counter.fetch_add(7919);
    for (int i = 0; i < 6; ++i)
      bytes[i] = static_cast<unsigned char>(v >> (i * 5));
  }
  for (int i = 0; i < 6; ++i)
    out[i] = kChars[bytes[i] % (sizeof kChars - 1)];
}
// Lists ".<name>.XXXXXX" beside target, then makes it: a file (the open
// descriptor is returned) or a folder (0 is returned).
int CreateListed(const std::string& target, bool isFolder, std::string* temp)
{
  const size_t slash = target.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string name = folder + "/." + base + ".XXXXXX";
  if (name.size() >= PATH_MAX)
  {
    errno = ENAMETOOLONG;
    return -1;
  }
  Blocked blocked;
  sCreating.fetch_add(1);
  if (sCleaning.load())
  {
    sCreating.fetch_sub(1);
    WaitToDie();
  }
  Slot* slot = nullptr;
  for (Slot& s : sSlots)
  {
    int free = kFree;
    if (s.state.compare_exchange_strong(free, kBusy))
    {
      slot = &s;
      break;
    }
  }
  if (!slot)
  {
    sCreating.fetch_sub(1);
    errno = EMFILE;
    return -1;
  }
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt)
  {
    RandomSuffix(&name[name.size() - 6]);
    std::memcpy(slot->path, name.c_str(), name.size() + 1);
    slot->folder = isFolder;
    // Listed before it exists: a handler that scans from here on removes it.
    slot->state.store(kListed);
    fd = isFolder ? mkdir(name.c_str(), 0777)
                  : open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) break;
    const int err = errno;
    slot->state.store(kBusy);
    errno = err;
    if (err != EEXIST) break;
  }
  const int err = errno;
  if (fd < 0) slot->state.store(kFree);
  sCreating.fetch_sub(1);
  if (fd < 0)
  {
    errno = err;
    return -1;
  }
  *temp = name;
  return fd;
}

void Forget(const std::string& temp)
{
  if (temp.empty()) return;
  Blocked blocked;
  for (Slot& s : sSlots)
  {
    if (s.state.load() != kListed || temp != s.path) continue;
    int listed = kListed;
    // A handler that already took the slot owns it until the process ends.
    if (s.state.compare_exchange_strong(listed, kBusy)) s.state.store(kFree);
    return;
  }
}
} // namespace

void InstallSignalCleanup()
{
  struct sigaction sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  for (int s : kSignals)
    sigaddset(&sa.sa_mask, s);
  for (int s : kSignals)
  {
    // A signal the caller ignores (nohup) stays ignored.
    struct sigaction old;
    if (sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    sigaction(s, &sa, nullptr);
  }
}

int CreateTemporaryFile(const std::string& target, std::string* temp)
{
  return CreateListed(target, false, temp);
}

void ForgetTemporaryFile(const std::string& temp) { Forget(temp); }

int CreateTemporaryFolder(const std::string& target, std::string* temp)
{
  return CreateListed(target, true, temp);
}

void ForgetTemporaryFolder(const std::string& temp) { Forget(temp); }

void SetProgressLineShown(bool shown) { sProgressShown.store(shown); }

int ListedTemporaryFiles()
{
  int n = 0;
  for (const Slot& s : sSlots)
    n += s.state.load() == kListed;
  return n;
}
} // namespace aaxtool
