// Copying a file for the plug-ins (a damaged data file is set aside before it is replaced). The
// copy is a new file: it never replaces or follows what already stands at the destination.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "hostapi/file.h"

namespace
{

// Closes the descriptor when the copy ends, whichever way.
struct Descriptor
{
	int fd = -1;
	~Descriptor()
	{
		if (fd >= 0)
			::close(fd);
	}
};

bool WriteAll(int fd, const char* data, size_t size)
{
	while (size > 0)
	{
		const ssize_t n = ::write(fd, data, size);
		if (n < 0 && errno == EINTR)
			continue;
		if (n <= 0)
			return false;
		data += n;
		size -= static_cast<size_t>(n);
	}
	return true;
}

bool CopyBytes(int from, int to)
{
	char buffer[1 << 16];
	for (;;)
	{
		const ssize_t n = ::read(from, buffer, sizeof buffer);
		if (n < 0 && errno == EINTR)
			continue;
		if (n < 0)
			return false;
		if (n == 0)
			return true;
		if (!WriteAll(to, buffer, static_cast<size_t>(n)))
			return false;
	}
}

} // namespace

bool GeFCopyFile(const Filename& source, const Filename& dest)
{
	if (source.IsEmpty() || dest.IsEmpty())
		return false;
	const std::string from = source.GetString().Get();
	const std::string to = dest.GetString().Get();

	Descriptor in;
	in.fd = ::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
	if (in.fd < 0)
		return false;
	struct stat info = {};
	// Only a regular file: a pipe or device would stall the copy or never end it.
	if (::fstat(in.fd, &info) != 0 || !S_ISREG(info.st_mode))
		return false;

	Descriptor out;
	out.fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, info.st_mode & 0666);
	if (out.fd < 0)
		return false;
	const bool copied = CopyBytes(in.fd, out.fd) && ::fsync(out.fd) == 0;
	const bool closed = ::close(out.fd) == 0;
	out.fd = -1;
	if (!copied || !closed)
	{
		::unlink(to.c_str());
		return false;
	}
	return true;
}
