// Replacing files safely, through every writer the host has (the shared helper, hyper files and
// document saves): planted links at temporary names are never followed, leftovers of killed writes
// go on the next write unless their writer still runs, and a failed write changes nothing.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "file/atomic_write.h"
#include "hostapi/document.h"
#include "hostapi/file.h"
#include "scratch_folder.h"
#include "standin/documents.h"
#include "standin/scene.h"

namespace fs = std::filesystem;
using standin::file::TemporaryOwner;

namespace
{

constexpr Int32 kIdent = 1952804208;

enum class Writer
{
	Helper,
	HyperFile,
	Document,
};

std::string Read(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	return std::string(std::istreambuf_iterator<char>(in), {});
}

// A process that has ended (and been reaped), so its pid names no running writer.
long DeadPid()
{
	const pid_t child = ::fork();
	if (child == 0)
		::_exit(0);
	::waitpid(child, nullptr, 0);
	return child;
}

// A process that runs until it is let go.
class LiveProcess
{
public:
	LiveProcess()
	{
		int fds[2];
		if (::pipe(fds) != 0)
			return;
		pid = ::fork();
		if (pid == 0)
		{
			::close(fds[1]);
			char c;
			while (::read(fds[0], &c, 1) < 0)
			{
			}
			::_exit(0);
		}
		::close(fds[0]);
		_release = fds[1];
	}
	~LiveProcess() { End(); }
	void End()
	{
		if (_release < 0)
			return;
		::close(_release);
		_release = -1;
		::waitpid(pid, nullptr, 0);
	}
	pid_t pid = -1;

private:
	int _release = -1;
};

// Names the writers will try, so that a test can plant something at them first.
int g_suffixCalls = 0;
std::string CountingSuffix()
{
	return std::string(11, '0') + static_cast<char>('a' + g_suffixCalls++ % 6);
}

class AtomicWriteTest : public ::testing::TestWithParam<Writer>
{
protected:
	void TearDown() override
	{
		standin::file::SetTemporarySuffixSource(nullptr);
		standin::CloseAllDocuments();
	}

	// Writes a file that holds word, through the writer under test.
	bool WriteHolding(const std::string& path, const std::string& word, std::string* error = nullptr)
	{
		std::string ignored;
		switch (GetParam())
		{
			case Writer::Helper: return standin::file::WriteFileAtomically(path, word.data(), word.size(), error ? error : &ignored);
			case Writer::HyperFile:
			{
				BaseContainer bc;
				bc.SetString(1, word.c_str());
				HyperFile* hf = HyperFile::Alloc();
				bool ok = hf->Open(kIdent, Filename(path.c_str()), FILEOPEN_WRITE, FILEDIALOG_NONE) && hf->WriteContainer(bc);
				ok = hf->Close() && ok;
				HyperFile::Free(hf);
				return ok;
			}
			case Writer::Document:
			{
				BaseDocument* doc = standin::NewDocument();
				BaseObject* op = BaseObject::Alloc(Onull);
				op->SetName(word.c_str());
				doc->InsertObject(op, nullptr, nullptr);
				const bool ok = standin::SaveDocument(doc, path, error ? error : &ignored);
				standin::CloseAllDocuments();
				return ok;
			}
		}
		return false;
	}

	// Whether path is a complete file of the writer under test holding word.
	bool Holds(const std::string& path, const std::string& word)
	{
		switch (GetParam())
		{
			case Writer::Helper: return Read(path) == word;
			case Writer::HyperFile:
			{
				HyperFile* hf = HyperFile::Alloc();
				BaseContainer bc;
				const bool ok = hf->Open(kIdent, Filename(path.c_str()), FILEOPEN_READ, FILEDIALOG_NONE) && hf->ReadContainer(&bc);
				hf->Close();
				HyperFile::Free(hf);
				return ok && bc.GetString(1) == String(word.c_str());
			}
			case Writer::Document:
			{
				std::string error;
				BaseDocument* doc = standin::LoadDocument(path, &error);
				const bool ok = doc && doc->GetFirstObject() && doc->GetFirstObject()->GetName() == String(word.c_str());
				standin::CloseAllDocuments();
				return ok;
			}
		}
		return false;
	}

	// Every temporary of target in the folder, whoever wrote it.
	std::vector<std::string> Temporaries(const std::string& target) const
	{
		std::vector<std::string> out;
		for (const auto& entry : fs::directory_iterator(folder.Path()))
			if (TemporaryOwner(fs::path(target).filename().string(), entry.path().filename().string()) != 0)
				out.push_back(entry.path().filename().string());
		return out;
	}

	ScratchFolder folder;
};

std::string Tmp(const std::string& target, long pid, const std::string& suffix = "")
{
	return target + ".tmp-" + std::to_string(pid) + (suffix.empty() ? "" : "-" + suffix);
}

} // namespace

TEST(AtomicWriteNames, OnlyTheTargetsOwnTemporariesAreRecognised)
{
	EXPECT_EQ(TemporaryOwner("a.doc", "a.doc.tmp-42"), 42);
	EXPECT_EQ(TemporaryOwner("a.doc", "a.doc.tmp-42-0123456789ab"), 42);
	// Another target's, a user's own files that merely look alike, and pids no process can have.
	for (const char* other : {"b.doc.tmp-42", "a.doc", "a.doc.tmp-", "a.doc.tmp-x1", "a.doc.tmp-42-notes", "a.doc.tmp-42-0123456789AB",
			 "a.doc.tmp-42-0123456789abc", "a.doc.tmp-0", "a.doc.tmp-99999999999", "a.doc.tmp-42.bak", "xa.doc.tmp-42"})
		EXPECT_EQ(TemporaryOwner("a.doc", other), 0) << other;
	EXPECT_EQ(TemporaryOwner("", ".tmp-42"), 0);
}

TEST_P(AtomicWriteTest, LinksPlantedAtTemporaryNamesAreNeverFollowed)
{
	const std::string victim = folder.Write("victim", "precious");
	const std::string target = folder / "scene.doc";
	ASSERT_TRUE(WriteHolding(target, "old"));

	// The old fixed name for this process and for a finished one, and the first two names the
	// writer will try.
	standin::file::SetTemporarySuffixSource(&CountingSuffix);
	g_suffixCalls = 0;
	const long self = ::getpid();
	const long dead = DeadPid();
	const std::vector<std::string> links = {Tmp(target, self), Tmp(target, dead), Tmp(target, self, CountingSuffix()),
		Tmp(target, self, CountingSuffix())};
	g_suffixCalls = 0;
	for (const std::string& link : links)
		ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0) << link;

	ASSERT_TRUE(WriteHolding(target, "new"));
	EXPECT_TRUE(Holds(target, "new"));
	EXPECT_EQ(Read(victim), "precious");
	for (const std::string& link : links)
		EXPECT_TRUE(fs::is_symlink(link)) << link; // not replaced, not removed through
	EXPECT_EQ(Temporaries(target).size(), links.size());
}

TEST_P(AtomicWriteTest, LeftoversOfKilledWritesGoWithTheNextWrite)
{
	const std::string target = folder / "scene.doc";
	ASSERT_TRUE(WriteHolding(target, "old"));
	const std::string before = Read(target);

	// A writer killed half way: the real thing for hyper files, whose temporary exists from Open.
	if (GetParam() == Writer::HyperFile)
	{
		const pid_t child = ::fork();
		if (child == 0)
		{
			HyperFile* hf = HyperFile::Alloc();
			if (hf->Open(kIdent, Filename(target.c_str()), FILEOPEN_WRITE, FILEDIALOG_NONE))
				::kill(::getpid(), SIGKILL);
			::_exit(1);
		}
		int status = 0;
		::waitpid(child, &status, 0);
		ASSERT_TRUE(WIFSIGNALED(status));
	}
	const long dead = DeadPid();
	folder.Write(fs::path(Tmp(target, dead)).filename().string(), "half");
	folder.Write(fs::path(Tmp(target, dead, "00ff00ff00ff")).filename().string(), "half");
	// Not the target's: another file's leftover and a user's file that only looks like one.
	const std::string otherLeftover = folder.Write("other.doc.tmp-" + std::to_string(dead), "other");
	const std::string notes = folder.Write("scene.doc.tmp-" + std::to_string(dead) + "-notes", "mine");
	EXPECT_EQ(Read(target), before);
	EXPECT_GE(Temporaries(target).size(), 2u);

	ASSERT_TRUE(WriteHolding(target, "new"));
	EXPECT_TRUE(Holds(target, "new"));
	EXPECT_TRUE(Temporaries(target).empty());
	EXPECT_TRUE(fs::exists(otherLeftover));
	EXPECT_TRUE(fs::exists(notes));
}

TEST_P(AtomicWriteTest, TemporariesOfRunningWritersStay)
{
	const std::string target = folder / "scene.doc";
	LiveProcess other;
	ASSERT_GT(other.pid, 0);
	const std::string theirs = folder.Write(fs::path(Tmp(target, other.pid, "0123456789ab")).filename().string(), "busy");
	const std::string theirsOld = folder.Write(fs::path(Tmp(target, other.pid)).filename().string(), "busy");

	// A write of the same target that this process has open is a live writer too.
	HyperFile* open = HyperFile::Alloc();
	ASSERT_TRUE(open->Open(kIdent, Filename(target.c_str()), FILEOPEN_WRITE, FILEDIALOG_NONE));

	ASSERT_TRUE(WriteHolding(target, "first"));
	EXPECT_TRUE(fs::exists(theirs));
	EXPECT_TRUE(fs::exists(theirsOld));
	EXPECT_EQ(Temporaries(target).size(), 3u);
	EXPECT_TRUE(open->Close()); // its temporary was left alone, so it still lands
	HyperFile::Free(open);

	other.End();
	ASSERT_TRUE(WriteHolding(target, "second"));
	EXPECT_TRUE(Holds(target, "second"));
	EXPECT_TRUE(Temporaries(target).empty());
}

TEST_P(AtomicWriteTest, AFailedWriteLeavesTheOldFileByteForByte)
{
	const std::string target = folder / "scene.doc";
	ASSERT_TRUE(WriteHolding(target, "old"));
	const std::string before = Read(target);

	// The disk refuses the bytes half way (a file size limit stands in for a full disk).
	struct rlimit saved{};
	ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
	struct rlimit tiny = saved;
	tiny.rlim_cur = 4;
	const sighandler_t oldHandler = ::signal(SIGXFSZ, SIG_IGN);
	ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
	std::string error;
	const bool written = WriteHolding(target, std::string(1000, 'n'), &error);
	::setrlimit(RLIMIT_FSIZE, &saved);
	::signal(SIGXFSZ, oldHandler);
	EXPECT_FALSE(written);
	if (GetParam() != Writer::HyperFile)
	{
		EXPECT_NE(error.find("scene.doc"), std::string::npos) << error;
	}
	EXPECT_EQ(Read(target), before);
	EXPECT_TRUE(Temporaries(target).empty());

	// The rename fails: a folder stands at the target.
	const std::string occupied = folder / "occupied";
	folder.Write("occupied/keep", "k");
	EXPECT_FALSE(WriteHolding(occupied, "new"));
	EXPECT_EQ(Read(occupied + "/keep"), "k");
	EXPECT_TRUE(Temporaries(occupied).empty());

	// A folder that is not there cannot take the file.
	EXPECT_FALSE(WriteHolding(folder / "missing/scene.doc", "new"));
}

TEST_P(AtomicWriteTest, ALinkAtTheTargetIsReplacedAndWhatItNamedIsKept)
{
	const std::string victim = folder.Write("elsewhere", "precious");
	const std::string target = folder / "scene.doc";
	ASSERT_EQ(::symlink(victim.c_str(), target.c_str()), 0);
	ASSERT_TRUE(WriteHolding(target, "new"));
	EXPECT_FALSE(fs::is_symlink(target));
	EXPECT_TRUE(Holds(target, "new"));
	EXPECT_EQ(Read(victim), "precious");
}

TEST_P(AtomicWriteTest, AReplacedFileKeepsItsPermissionsAndANewOneFollowsTheUmask)
{
	const std::string target = folder / "private.doc";
	ASSERT_TRUE(WriteHolding(target, "old"));
	ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
	ASSERT_TRUE(WriteHolding(target, "new"));
	struct stat info{};
	ASSERT_EQ(::stat(target.c_str(), &info), 0);
	EXPECT_EQ(info.st_mode & 0777, 0640u);

	const mode_t oldMask = ::umask(027);
	const bool made = WriteHolding(folder / "fresh.doc", "new");
	::umask(oldMask);
	ASSERT_TRUE(made);
	ASSERT_EQ(::stat((folder / "fresh.doc").c_str(), &info), 0);
	EXPECT_EQ(info.st_mode & 0777, 0640u);
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, AtomicWriteTest, ::testing::Values(Writer::Helper, Writer::HyperFile, Writer::Document),
	[](const ::testing::TestParamInfo<Writer>& info) {
		switch (info.param)
		{
			case Writer::Helper: return std::string("Helper");
			case Writer::HyperFile: return std::string("HyperFile");
			case Writer::Document: return std::string("Document");
		}
		return std::string("Unknown");
	});
