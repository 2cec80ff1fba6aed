#include "codefind/posix_platform.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace navo {

PosixTableFile::~PosixTableFile() { Close(); }

bool PosixTableFile::Open(const char* path) {
  Close();
  fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
  position_ = 0;
  return fd_ >= 0;
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
  while (*delivered < size) {
    ssize_t got = ::pread(fd_, out + *delivered, size - *delivered, off_t(position_) + *delivered);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;  // end of file
    *delivered += uint32_t(got);
  }
  position_ += *delivered;
  return true;
}

void PosixTableFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace navo
