#include "ElfCheck.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace aaxhost
{
namespace
{
std::string MachineName(unsigned machine)
{
  switch (machine)
  {
  case EM_386:
    return "x86 (32-bit)";
  case EM_ARM:
    return "ARM (32-bit)";
  case EM_AARCH64:
    return "ARM64";
  case EM_RISCV:
    return "RISC-V";
  case EM_PPC64:
    return "PowerPC 64";
  case EM_S390:
    return "S/390";
  case EM_MIPS:
    return "MIPS";
  default:
    return "machine " + std::to_string(machine);
  }
}

std::string Bytes(uint64_t n) { return std::to_string(n) + " byte" + (n == 1 ? "" : "s"); }

// "cut short: <what> end at byte N, the file has M bytes", or empty.
std::string Within(const char* what, uint64_t offset, uint64_t size, uint64_t fileSize)
{
  if (offset <= fileSize && size <= fileSize - offset) return {};
  const uint64_t end = offset + size < offset ? UINT64_MAX : offset + size;
  return std::string("cut short: its ") + what + " end at byte " + std::to_string(end) +
         ", the file has " + Bytes(fileSize);
}

bool ReadAt(int fd, void* into, size_t size, uint64_t offset)
{
  auto* p = static_cast<char*>(into);
  while (size > 0)
  {
    const ssize_t n = pread(fd, p, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

std::string CheckOpen(int fd, uint64_t fileSize)
{
  if (fileSize == 0) return "is empty (0 bytes), not a module binary";
  unsigned char ident[EI_NIDENT] = {};
  if (fileSize < EI_NIDENT || !ReadAt(fd, ident, EI_NIDENT, 0) ||
      std::memcmp(ident, ELFMAG, SELFMAG) != 0)
    return "not an ELF shared object (no ELF header)";
  if (ident[EI_CLASS] != ELFCLASS64) return "a 32-bit ELF file; modules here are 64-bit x86-64";
  if (ident[EI_DATA] != ELFDATA2LSB) return "a big-endian ELF file; modules here are x86-64";
  Elf64_Ehdr eh;
  if (fileSize < sizeof eh || !ReadAt(fd, &eh, sizeof eh, 0))
    return "cut short: " + Bytes(fileSize) + ", less than an ELF header";
  if (eh.e_machine != EM_X86_64) return "built for " + MachineName(eh.e_machine) + ", not x86-64";
  if (eh.e_type != ET_DYN)
    return "not a shared object (ELF type " + std::to_string(eh.e_type) + ")";
  if (eh.e_phnum == 0) return "has no program headers";
  if (eh.e_phentsize != sizeof(Elf64_Phdr))
    return "damaged: program header size " + std::to_string(eh.e_phentsize);
  const uint64_t phBytes = uint64_t(eh.e_phnum) * sizeof(Elf64_Phdr);
  std::string why = Within("program headers", eh.e_phoff, phBytes, fileSize);
  if (!why.empty()) return why;
  if (eh.e_shnum != 0)
  {
    why = Within("section headers", eh.e_shoff, uint64_t(eh.e_shnum) * eh.e_shentsize, fileSize);
    if (!why.empty()) return why;
  }
  std::vector<Elf64_Phdr> ph(eh.e_phnum);
  if (!ReadAt(fd, ph.data(), phBytes, eh.e_phoff)) return "unreadable program headers";
  bool loads = false;
  for (const Elf64_Phdr& p : ph)
  {
    if (p.p_type == PT_LOAD)
    {
      loads = true;
      why = Within("loaded segments", p.p_offset, p.p_filesz, fileSize);
    }
    else if (p.p_type == PT_DYNAMIC)
      why = Within("dynamic section", p.p_offset, p.p_filesz, fileSize);
    if (!why.empty()) return why;
  }
  if (!loads) return "has no loadable segment";
  return {};
}
} // namespace

std::string CheckElfModule(const std::string& path)
{
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return "is a directory, not a module binary";
  if (!S_ISREG(st.st_mode)) return "not a regular file";
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::string("cannot open: ") + std::strerror(errno);
  const std::string why = CheckOpen(fd, static_cast<uint64_t>(st.st_size));
  ::close(fd);
  return why;
}
} // namespace aaxhost
