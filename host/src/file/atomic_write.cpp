#include "file/atomic_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <random>
#include <system_error>

namespace standin::file
{

namespace
{

constexpr size_t kSuffixDigits = 12;
// Enough tries that only a folder full of planted names can make creation fail.
constexpr int kCreateAttempts = 32;

std::string RandomSuffix()
{
	std::uint8_t bytes[kSuffixDigits / 2] = {};
	if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes))
	{
		std::random_device device;
		for (std::uint8_t& b : bytes)
			b = static_cast<std::uint8_t>(device());
	}
	static const char kHex[] = "0123456789abcdef";
	std::string out;
	for (const std::uint8_t b : bytes)
	{
		out += kHex[b >> 4];
		out += kHex[b & 0xF];
	}
	return out;
}

std::atomic<TemporarySuffixSource> g_suffixSource{&RandomSuffix};

// The folder part and the name part of a path ("." for a bare name).
std::string FolderOf(const std::string& path)
{
	const size_t slash = path.rfind('/');
	if (slash == std::string::npos)
		return ".";
	if (slash == 0)
		return "/";
	return path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
	const size_t slash = path.rfind('/');
	return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ProcessIsRunning(long pid)
{
	// EPERM: the process exists but belongs to someone else.
	return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool IsLowerHex(char c)
{
	return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

std::string Reason(int err)
{
	return std::error_code(err, std::generic_category()).message();
}

bool WriteAll(int fd, const std::uint8_t* data, size_t size)
{
	while (size > 0)
	{
		const ssize_t n = ::write(fd, data, size);
		if (n < 0 && errno == EINTR)
			continue;
		if (n <= 0)
		{
			if (n == 0)
				errno = EIO;
			return false;
		}
		data += n;
		size -= static_cast<size_t>(n);
	}
	return true;
}

// Makes the rename itself durable. Some file systems cannot sync a folder; the new file is in
// place by now either way, so this is best effort and never turns a finished write into a failure.
void SyncFolder(const std::string& folder)
{
	const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (fd < 0)
		return;
	::fsync(fd);
	::close(fd);
}

} // namespace

long TemporaryOwner(const std::string& targetName, const std::string& entry)
{
	const std::string prefix = targetName + ".tmp-";
	if (targetName.empty() || entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0)
		return 0;
	const char* first = entry.data() + prefix.size();
	const char* last = entry.data() + entry.size();
	const char* digitsEnd = first;
	while (digitsEnd != last && *digitsEnd >= '0' && *digitsEnd <= '9')
		++digitsEnd;
	long pid = 0;
	const auto parsed = std::from_chars(first, digitsEnd, pid);
	if (digitsEnd == first || parsed.ec != std::errc() || parsed.ptr != digitsEnd || pid <= 0 || pid > INT_MAX)
		return 0;
	if (digitsEnd == last)
		return pid; // the older naming: "<target>.tmp-<pid>"
	if (*digitsEnd != '-' || static_cast<size_t>(last - digitsEnd - 1) != kSuffixDigits)
		return 0;
	for (const char* p = digitsEnd + 1; p != last; ++p)
		if (!IsLowerHex(*p))
			return 0;
	return pid;
}

void SetTemporarySuffixSource(TemporarySuffixSource source)
{
	g_suffixSource.store(source ? source : &RandomSuffix);
}

void RemoveStaleTemporaries(const std::string& target)
{
	const std::string name = NameOf(target);
	if (name.empty())
		return;
	const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (folder < 0)
		return;
	DIR* dir = ::fdopendir(folder);
	if (!dir)
	{
		::close(folder);
		return;
	}
	const uid_t me = ::geteuid();
	while (const dirent* entry = ::readdir(dir))
	{
		const long pid = TemporaryOwner(name, entry->d_name);
		if (pid == 0 || ProcessIsRunning(pid))
			continue;
		// Looked at, not followed: a link or anything else that is not our own plain file stays.
		struct stat info{};
		if (::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode) || info.st_uid != me)
			continue;
		::unlinkat(folder, entry->d_name, 0);
	}
	::closedir(dir); // closes folder too
}

bool AtomicFile::Fail(const std::string& what, int err, std::string* error)
{
	Abandon();
	if (error)
		*error = _target + ": " + what + " (" + Reason(err) + ")";
	return false;
}

bool AtomicFile::Begin(const std::string& target, std::string* error)
{
	Abandon();
	_target = target;
	if (NameOf(target).empty())
		return Fail("cannot be written", EISDIR, error);
	RemoveStaleTemporaries(target);

	// A file that is replaced keeps its permissions, so a private file stays private; a new one
	// gets what the user's umask allows.
	mode_t mode = 0666;
	struct stat old{};
	const bool replacing = ::lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
	if (replacing)
		mode = old.st_mode & 0777;

	const std::string stem = target + ".tmp-" + std::to_string(static_cast<long>(::getpid())) + "-";
	for (int attempt = 0; attempt < kCreateAttempts; ++attempt)
	{
		const std::string temp = stem + g_suffixSource.load()();
		const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
		if (fd >= 0)
		{
			_fd = fd;
			_temp = temp;
			if (replacing)
				::fchmod(_fd, mode); // the umask may have narrowed it
			return true;
		}
		if (errno != EEXIST && errno != EINTR)
			return Fail("cannot be written", errno, error);
	}
	return Fail("cannot be written", EEXIST, error);
}

bool AtomicFile::Write(const void* data, size_t size, std::string* error)
{
	if (_fd < 0)
		return Fail("cannot be written", EBADF, error);
	if (!WriteAll(_fd, static_cast<const std::uint8_t*>(data), size))
		return Fail("cannot be written", errno, error);
	return true;
}

bool AtomicFile::Commit(std::string* error)
{
	if (_fd < 0)
		return Fail("cannot be written", EBADF, error);
	if (::fsync(_fd) != 0)
		return Fail("cannot be written", errno, error);
	const int fd = _fd;
	_fd = -1;
	if (::close(fd) != 0)
		return Fail("cannot be written", errno, error);
	if (::rename(_temp.c_str(), _target.c_str()) != 0)
		return Fail("cannot be replaced", errno, error);
	_temp.clear(); // renamed: nothing left to discard
	SyncFolder(FolderOf(_target));
	return true;
}

void AtomicFile::Abandon()
{
	if (_fd >= 0)
	{
		::close(_fd);
		_fd = -1;
	}
	if (!_temp.empty())
	{
		::unlink(_temp.c_str());
		_temp.clear();
	}
}

bool WriteFileAtomically(const std::string& target, const void* data, size_t size, std::string* error)
{
	AtomicFile file;
	return file.Begin(target, error) && file.Write(data, size, error) && file.Commit(error);
}

} // namespace standin::file
