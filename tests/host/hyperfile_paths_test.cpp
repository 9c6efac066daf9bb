// Filename arithmetic, the preference folder and the small file-system services.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "hostapi/file.h"
#include "standin/paths.h"

namespace fs = std::filesystem;

TEST(Filename, JoinsSplitsAndChangesSuffixes)
{
	EXPECT_EQ((Filename("/a/b") + "c.dat").GetString().Get(), "/a/b/c.dat");
	EXPECT_EQ((Filename("/a/b/") + "c").GetString().Get(), "/a/b/c");
	EXPECT_EQ((Filename() + "c").GetString().Get(), "c");

	const Filename f("/home/user/prefs/file.txt");
	EXPECT_EQ(f.GetDirectory().GetString().Get(), "/home/user/prefs");
	EXPECT_EQ(f.GetFileString().Get(), "file.txt");
	EXPECT_EQ(Filename("/top").GetDirectory().GetString().Get(), "/");
	EXPECT_TRUE(Filename("plain").GetDirectory().IsEmpty());

	Filename s("/x.y/TarnPRS_2019-0307-0905-02");
	s.SetSuffix("dat");
	EXPECT_EQ(s.GetString().Get(), "/x.y/TarnPRS_2019-0307-0905-02.dat");
	s.SetSuffix("bak");
	EXPECT_EQ(s.GetString().Get(), "/x.y/TarnPRS_2019-0307-0905-02.bak");
	Filename hidden("/p/.hidden");
	hidden.SetSuffix("dat");
	EXPECT_EQ(hidden.GetString().Get(), "/p/.hidden.dat");
}

TEST(HostPaths, PreferenceFolderIsSettableAndExists)
{
	char pattern[] = "/tmp/prefs-test-XXXXXX";
	ASSERT_NE(::mkdtemp(pattern), nullptr);
	const std::string root = pattern;
	const std::string prefs = root + "/host/prefs";

	standin::SetPrefsFolder(prefs);
	EXPECT_EQ(standin::PrefsFolder(), prefs);
	EXPECT_EQ(GeGetHostPath(HOSTPATH_PREFS).GetString().Get(), prefs);
	EXPECT_TRUE(GeFExist(Filename(prefs.c_str()), true));
	EXPECT_TRUE(GeGetHostPath(12345).IsEmpty());

	standin::SetPrefsFolder("");
	EXPECT_NE(standin::PrefsFolder(), prefs);
	EXPECT_NE(standin::PrefsFolder().find("prefs"), std::string::npos);
	fs::remove_all(root);
}

TEST(HostPaths, FileServicesTellFilesFromFolders)
{
	char pattern[] = "/tmp/fileops-test-XXXXXX";
	ASSERT_NE(::mkdtemp(pattern), nullptr);
	const Filename root(pattern);
	const Filename folder = root + "plugins";
	const Filename file = root + "a.dat";

	EXPECT_FALSE(GeFExist(folder, true));
	EXPECT_TRUE(GeFCreateDir(folder));
	EXPECT_TRUE(GeFCreateDir(folder)); // already there counts as success
	EXPECT_TRUE(GeFExist(folder, true));
	EXPECT_FALSE(GeFExist(folder, false));
	EXPECT_FALSE(GeFCreateDir(root + "missing/deeper"));

	std::ofstream(file.GetString().Get()) << "x";
	EXPECT_TRUE(GeFExist(file));
	EXPECT_FALSE(GeFExist(file, true));
	EXPECT_FALSE(GeFCreateDir(file));
	EXPECT_TRUE(GeFKill(file));
	EXPECT_FALSE(GeFKill(file));
	EXPECT_TRUE(GeFKill(folder));
	EXPECT_FALSE(GeFExist(Filename()));
	fs::remove_all(pattern);
}
