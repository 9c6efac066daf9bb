// The mesh verbs: a polygon object exported and imported again, and the lines they refuse.
#include <gtest/gtest.h>

#include <sstream>

#include "hostapi/api.h"
#include "scratch_folder.h"
#include "standin/console.h"
#include "standin/scene.h"
#include "standin/session.h"

namespace
{

class SessionMesh : public ::testing::Test
{
protected:
	void TearDown() override { standin::CloseAllDocuments(); }

	int Run(const std::string& script, std::string* err = nullptr)
	{
		std::ostringstream out, errors;
		const int status = standin::RunSessionText(script, folder / "mesh.session", out, errors, {});
		if (err)
			*err = errors.str();
		return status;
	}

	ScratchFolder folder;
};

} // namespace

TEST_F(SessionMesh, ExportedObjectsImportAgainWhereTheyStood)
{
	std::string err;
	// A folder in the way of the file's folder cannot be made; the error says so once.
	folder.Write("blocked", "");
	ASSERT_EQ(Run("new-document\n"
				  "add-object plane Floor 100 2\n"
				  "export-mesh Floor blocked/floor.obj\n",
				  &err),
		1);
	EXPECT_NE(err.find("mesh.session:3: export-mesh:"), std::string::npos) << err;
	EXPECT_NE(err.find("cannot be made"), std::string::npos) << err;

	// A missing folder is made, as an export dialog would.
	ASSERT_EQ(Run("new-document\n"
				  "add-object plane Floor 100 2\n"
				  "set-position Floor 0 50 0\n"
				  "export-mesh Floor out/floor.OBJ\n"
				  "import-mesh out/floor.OBJ Copy\n",
				  &err),
		0) << err;
	BaseDocument* doc = GetActiveDocument();
	auto* floor = static_cast<PolygonObject*>(standin::FindObjectByPath(doc, "Floor"));
	auto* copy = static_cast<PolygonObject*>(standin::FindObjectByPath(doc, "Copy"));
	ASSERT_NE(copy, nullptr);
	ASSERT_EQ(copy->GetPolygonCount(), 4);
	ASSERT_EQ(copy->GetPointCount(), floor->GetPointCount());
	for (Int32 i = 0; i < copy->GetPointCount(); ++i)
		EXPECT_EQ(copy->GetPointR()[i], floor->GetMg() * floor->GetPointR()[i]);
	EXPECT_EQ(copy->GetMg(), Matrix());
}

TEST_F(SessionMesh, BadLinesAreRefusedBeforeOrWithoutChange)
{
	std::string err;
	EXPECT_EQ(Run("new-document\nexport-mesh Floor floor.ply\n", &err), 1);
	EXPECT_NE(err.find("mesh.session:2: export-mesh: meshes are exported as Wavefront OBJ"), std::string::npos) << err;
	EXPECT_EQ(GetActiveDocument(), nullptr) << "checked before anything ran";

	EXPECT_EQ(Run("new-document\nadd-null N\nexport-mesh N n.obj\n", &err), 1);
	EXPECT_NE(err.find("only polygon objects"), std::string::npos) << err;
	EXPECT_EQ(Run("new-document\nexport-mesh Nobody n.obj\n", &err), 1);
	EXPECT_NE(err.find("mesh.session:2: export-mesh:"), std::string::npos) << err;

	folder.Write("empty.stl", "");
	EXPECT_EQ(Run("new-document\nadd-null empty\nimport-mesh empty.stl\n", &err), 1);
	EXPECT_NE(err.find("is empty"), std::string::npos) << err;
	folder.Write("tri.stl", "solid t\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\nendloop\nendfacet\nendsolid t\n");
	EXPECT_EQ(Run("new-document\nadd-null tri\nimport-mesh tri.stl\n", &err), 1);
	EXPECT_NE(err.find("an object named 'tri' already exists"), std::string::npos) << err;
	EXPECT_EQ(Run("new-document\nimport-mesh tri.stl \"a/b\"\n", &err), 1);
	EXPECT_EQ(Run("new-document\nimport-mesh tri.stl Tri\n", &err), 0) << err;
	EXPECT_NE(standin::FindObjectByPath(GetActiveDocument(), "Tri"), nullptr);
}
