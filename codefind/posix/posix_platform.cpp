// The code table file on POSIX systems: mapped when it can be, else read with pread.
#include "codefind/posix/posix_platform.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace navo::codefind {

PosixTableFile::~PosixTableFile() { Close(); }

bool PosixTableFile::Open(const char* path) {
  Close();
  fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
  position_ = 0;
  if (fd_ < 0) return false;
  // The table is mapped when it can be, so that a read is a copy, not a
  // system call; reads fall back to pread otherwise.
  struct stat status;
  if (::fstat(fd_, &status) == 0 && status.st_size > 0 && S_ISREG(status.st_mode)) {
    void* mapping = ::mmap(nullptr, size_t(status.st_size), PROT_READ, MAP_PRIVATE, fd_, 0);
    if (mapping != MAP_FAILED) {
      mapping_ = static_cast<const char*>(mapping);
      mappedSize_ = uint64_t(status.st_size);
    }
  }
  return true;
}

bool PosixTableFile::Seek(uint32_t offset) {
  if (fd_ < 0) return false;
  position_ = offset;
  return true;
}

bool PosixTableFile::Read(void* buffer, uint32_t size, uint32_t* delivered) {
  *delivered = 0;
  if (fd_ < 0) return false;
  char* out = static_cast<char*>(buffer);
  if (mapping_ != nullptr) {
    if (position_ < mappedSize_) {
      const uint64_t available = mappedSize_ - position_;
      *delivered = uint32_t(size < available ? size : available);
      std::memcpy(out, mapping_ + position_, *delivered);
    }
  } else {
    while (*delivered < size) {
      ssize_t got =
          ::pread(fd_, out + *delivered, size - *delivered, off_t(position_ + *delivered));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return false;
      if (got == 0) break;  // end of file
      *delivered += uint32_t(got);
    }
  }
  position_ += *delivered;
  return true;
}

void PosixTableFile::Close() {
  if (mapping_ != nullptr) ::munmap(const_cast<char*>(mapping_), size_t(mappedSize_));
  mapping_ = nullptr;
  mappedSize_ = 0;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace navo::codefind
