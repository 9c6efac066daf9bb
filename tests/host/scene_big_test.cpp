// Big scenes through the session verbs, as a user builds them: a hundred thousand siblings and a
// chain a hundred thousand deep are added, printed, saved, reopened, searched and deleted, and a
// scan of five million triangles is imported, saved and reopened. The checks are on results only;
// what they guard is that nothing recurses per level, nothing walks every sibling per command and
// no limit or copy stops a scan-sized mesh (any of these would exhaust the stack or the memory,
// or take hours here).
#include <gtest/gtest.h>

#include <charconv>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "hostapi/api.h"
#include "scratch_folder.h"
#include "standin/documents.h"
#include "standin/scene.h"
#include "standin/session.h"

namespace
{

constexpr int kCount = 100000;

struct Result
{
	int status = 0;
	std::string out;
	std::string err;
};

Result RunText(const std::string& script, const std::string& name)
{
	std::ostringstream out, err;
	Result r;
	r.status = standin::RunSessionText(script, name, out, err, {});
	r.out = out.str();
	r.err = err.str();
	return r;
}

size_t Lines(const std::string& text)
{
	size_t n = 0;
	for (char c : text)
		n += c == '\n' ? 1 : 0;
	return n;
}

class BigScene : public ::testing::Test
{
protected:
	void TearDown() override { standin::CloseAllDocuments(); }

	Result Script(const std::string& text) { return RunText(text, folder / "big.session"); }

	ScratchFolder folder;
};

} // namespace

TEST_F(BigScene, AHundredThousandSiblings)
{
	std::string script = "new-document\n";
	for (int i = 0; i < kCount; ++i)
		script += "add-null n" + std::to_string(i) + "\n";
	script += "print-scene\nsave-document siblings.doc\nclose-document\nopen-document siblings.doc\n";
	const Result built = Script(script);
	ASSERT_EQ(built.status, 0) << built.err;
	EXPECT_EQ(Lines(built.out), static_cast<size_t>(kCount) + 2);
	EXPECT_NE(built.out.find("\n  null \"n99999\" id="), std::string::npos);

	// The reopened document knows its names as well as the one that was saved.
	BaseDocument* doc = GetActiveDocument();
	ASSERT_NE(doc, nullptr);
	EXPECT_NE(Script("add-null n77777\n").err.find("already exists"), std::string::npos);
	EXPECT_EQ(Script("delete-object n77777\nadd-null n77777\nrename n4 fresh\nadd-null n4\n").err, "");
	EXPECT_NE(Script("add-null fresh\n").err.find("already exists"), std::string::npos);
	BaseObject* readded = standin::FindObjectByPath(doc, "n99999")->GetNext();
	ASSERT_NE(readded, nullptr);
	EXPECT_EQ(readded->GetName().Get(), "n77777");
	int count = 0;
	BaseObject* last = nullptr;
	for (BaseObject* op = doc->GetFirstObject(); op; op = op->GetNext(), ++count)
		last = op;
	EXPECT_EQ(count, kCount + 1);
	ASSERT_NE(last, nullptr);
	EXPECT_EQ(last->GetName().Get(), "n4"); // added last

	std::string removeAll;
	for (int i = 0; i < kCount; ++i)
		removeAll += "delete-object " + (i == 4 ? std::string("fresh") : "n" + std::to_string(i)) + "\n";
	const Result removed = Script(removeAll + "delete-object n4\n");
	ASSERT_EQ(removed.status, 0) << removed.err;
	EXPECT_EQ(doc->GetFirstObject(), nullptr);
}

TEST_F(BigScene, AChainAHundredThousandDeep)
{
	// c0 under c1, then c1 (holding c0) under c2, ...: c99999 is the top, c0 the deepest.
	std::string script = "new-document\n";
	for (int i = 0; i < kCount; ++i)
		script += "add-null c" + std::to_string(i) + "\n";
	for (int i = 0; i + 1 < kCount; ++i)
		script += "parent c" + std::to_string(i) + " c" + std::to_string(i + 1) + "\n";
	script += "set-position c99999 1 2 3\nprint-scene\nsave-document chain.doc\nclose-document\nopen-document chain.doc\n";
	const Result built = Script(script);
	ASSERT_EQ(built.status, 0) << built.err;

	// Indentation stops growing 32 levels down; deeper lines carry their depth.
	EXPECT_EQ(Lines(built.out), static_cast<size_t>(kCount) + 2);
	EXPECT_NE(built.out.find("\n" + std::string(2 + 2 * 32, ' ') + "null \"c99967\""), std::string::npos);
	EXPECT_NE(built.out.find("\n" + std::string(2 + 2 * 32, ' ') + "(depth 33) null \"c99966\""), std::string::npos);
	const std::string deepest = std::string(2 + 2 * 32, ' ') + "(depth 99999) null \"c0\"";
	EXPECT_NE(built.out.find("\n" + deepest), std::string::npos);
	EXPECT_NE(built.out.find("pos=(1, 2, 3)\nmaterials:"), std::string::npos); // the world position reaches the bottom
	EXPECT_LT(built.out.size(), static_cast<size_t>(kCount) * 160);

	BaseDocument* doc = GetActiveDocument();
	ASSERT_NE(doc, nullptr);
	int depth = 0;
	BaseObject* bottom = nullptr;
	for (BaseObject* op = doc->GetFirstObject(); op; op = op->GetDown(), ++depth)
		bottom = op;
	EXPECT_EQ(depth, kCount);
	ASSERT_NE(bottom, nullptr);
	EXPECT_EQ(bottom->GetName().Get(), "c0");
	EXPECT_EQ(bottom->GetMg().off, Vector(1, 2, 3));

	// The whole path, a hundred thousand names long.
	std::string path;
	for (int i = kCount - 1; i >= 0; --i)
		path += "c" + std::to_string(i) + (i ? "/" : "");
	EXPECT_EQ(standin::FindObjectByPath(doc, path), bottom);
	EXPECT_EQ(standin::FindObjectByPath(doc, path + "/none"), nullptr);

	// Selecting the bottom, copying the chain and deleting it.
	bottom->SetNBit(NBIT_ACTIVE, true);
	EXPECT_EQ(doc->GetActiveObject(), bottom);
	BaseList2D* copy = doc->GetFirstObject()->GetClone();
	ASSERT_NE(copy, nullptr);
	BaseObject* copied = static_cast<BaseObject*>(copy);
	BaseObject::Free(copied);
	const Result removed = Script("delete-object c99999\nprint-scene\n");
	ASSERT_EQ(removed.status, 0) << removed.err;
	EXPECT_EQ(removed.out, "objects:\nmaterials:\n");
}

TEST_F(BigScene, NameChecksFollowRenamesDeletesMovesAndDuplicates)
{
	// More siblings than a list is searched by walking, so the name index answers.
	std::string script = "new-document\n";
	for (int i = 0; i < 20; ++i)
		script += "add-null n" + std::to_string(i) + "\n";
	ASSERT_EQ(Script(script).err, "");
	BaseDocument* doc = GetActiveDocument();

	// Renamed from a plug-in, through the interface.
	standin::FindObjectByPath(doc, "n3")->SetName("m3");
	EXPECT_EQ(Script("add-null n3\n").err, "");
	EXPECT_NE(Script("add-null m3\n").err.find("already exists"), std::string::npos);
	EXPECT_EQ(standin::FindObjectByPath(doc, "m3")->GetName().Get(), "m3");

	// Moved, deleted, taken out and put back by a plug-in.
	EXPECT_EQ(Script("parent n7 n8\nadd-null n7\ndelete-object n5\nadd-null n5\n").err, "");
	EXPECT_NE(standin::FindObjectByPath(doc, "n8/n7"), nullptr);
	BaseObject* n9 = standin::FindObjectByPath(doc, "n9");
	n9->Remove();
	EXPECT_EQ(standin::FindObjectByPath(doc, "n9"), nullptr);
	EXPECT_EQ(Script("rename n10 n9\nrename n9 n10\n").err, "");
	doc->InsertObject(n9, standin::FindObjectByPath(doc, "n8"), nullptr);
	EXPECT_EQ(standin::FindObjectByPath(doc, "n8/n9"), n9);
	EXPECT_NE(Script("rename n8/n9 n7\n").err.find("already named"), std::string::npos);

	// Siblings that share a name (a plug-in may make them): a path tries each in turn.
	BaseObject* first = BaseObject::Alloc(Onull);
	first->SetName("dup");
	doc->InsertObject(first, nullptr, nullptr);
	BaseObject* second = BaseObject::Alloc(Onull);
	second->SetName("dup");
	doc->InsertObject(second, nullptr, standin::FindObjectByPath(doc, "n15"));
	BaseObject* kid = BaseObject::Alloc(Onull);
	kid->SetName("kid");
	doc->InsertObject(kid, second, nullptr);
	EXPECT_EQ(standin::FindObjectByPath(doc, "dup"), first);
	EXPECT_EQ(standin::FindObjectByPath(doc, "dup/kid"), kid);
	BaseObject::Free(first);
	EXPECT_EQ(standin::FindObjectByPath(doc, "dup"), second);
	EXPECT_EQ(Script("rename dup single\n").err, "");
	EXPECT_EQ(standin::FindObjectByPath(doc, "single/kid"), kid);
	EXPECT_EQ(standin::FindObjectByPath(doc, "dup"), nullptr);
}

TEST_F(BigScene, AScanOfFiveMillionTrianglesImportsSavesAndReopens)
{
	// A grid of side x side points, two triangles per cell, written as a scanner would.
	constexpr int side = 1583;
	constexpr Int32 triangles = 2 * (side - 1) * (side - 1);
	static_assert(triangles > 5000000);
	const std::string obj = folder / "scan.obj";
	{
		std::ofstream out(obj, std::ios::binary);
		std::vector<char> line(64);
		std::string chunk;
		auto number = [&](int value) {
			const auto [end, ec] = std::to_chars(line.data(), line.data() + line.size(), value);
			chunk.append(line.data(), end);
		};
		for (int y = 0; y < side; ++y)
		{
			for (int x = 0; x < side; ++x)
			{
				chunk += "v ";
				number(x);
				chunk += ' ';
				number((x + y) % 7);
				chunk += ".5 ";
				number(y);
				chunk += '\n';
			}
			out << chunk;
			chunk.clear();
		}
		for (int y = 0; y + 1 < side; ++y)
		{
			for (int x = 0; x + 1 < side; ++x)
			{
				const int a = y * side + x + 1, b = a + 1, c = a + side + 1, d = a + side;
				chunk += "f ";
				number(a);
				chunk += ' ';
				number(b);
				chunk += ' ';
				number(c);
				chunk += "\nf ";
				number(a);
				chunk += ' ';
				number(c);
				chunk += ' ';
				number(d);
				chunk += '\n';
			}
			out << chunk;
			chunk.clear();
		}
	}
	const Result imported = Script("new-document\nimport-obj scan.obj\nsave-document scan.doc\nclose-document\nopen-document scan.doc\n");
	ASSERT_EQ(imported.status, 0) << imported.err;
	auto* scan = static_cast<PolygonObject*>(standin::FindObjectByPath(GetActiveDocument(), "scan"));
	ASSERT_NE(scan, nullptr);
	ASSERT_EQ(scan->GetPointCount(), side * side);
	ASSERT_EQ(scan->GetPolygonCount(), triangles);
	EXPECT_EQ(scan->GetTag(Tuvw), nullptr); // no coordinates in the file, none kept
	EXPECT_EQ(scan->GetPointR()[side * side - 1], Vector(side - 1, ((side - 1) * 2) % 7 + 0.5, side - 1));
	// The second triangle of the last cell.
	const Int32 a = (side - 2) * side + side - 2;
	EXPECT_EQ(scan->GetPolygonR()[triangles - 1], CPolygon(a, side * side - 1, side * side - 2));
}
