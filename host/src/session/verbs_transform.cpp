// Commands that place objects: local position, rotation and the whole local matrix.
#include <cmath>

#include "hostapi/document.h"
#include "session/words.h"

namespace standin::session
{

namespace
{

const char* kPositionUsage = "set-position <path> x y z";
const char* kRotationUsage = "set-rotation <path> h p b";
const char* kMatrixUsage = "set-matrix <path> offx offy offz v1x v1y v1z v2x v2y v2z v3x v3y v3z";

// Checks that args[first..] are count numbers and stores them in values.
bool Numbers(const Words& args, size_t first, size_t count, Float* values, std::string* error)
{
	for (size_t i = 0; i < count; ++i)
		if (!ParseReal(args[first + i], "value", &values[i], error))
			return false;
	return true;
}

bool CheckNumbers(const Words& args, size_t count, const char* usage, std::string* error)
{
	Float values[12];
	return CheckArity(args, count + 1, count + 1, usage, error) && Numbers(args, 1, count, values, error);
}

// Gives op the local matrix ml unless that would make a world matrix overflow.
bool Place(BaseObject* op, const Matrix& ml, std::string* error)
{
	const BaseObject* parent = op->GetUp();
	if (!CheckPlacement(op, parent ? parent->GetMg() : Matrix(), ml, true, error))
		return false;
	op->SetMl(ml);
	return true;
}

bool RunPosition(Context& ctx, const Words& args, std::string* error)
{
	BaseObject* op = nullptr;
	Float v[3];
	if (!Numbers(args, 1, 3, v, error) || !FindObject(ctx, args[0], &op, error))
		return false;
	Matrix ml = op->GetMl();
	ml.off = Vector(v[0], v[1], v[2]);
	return Place(op, ml, error);
}

bool RunRotation(Context& ctx, const Words& args, std::string* error)
{
	BaseObject* op = nullptr;
	Float v[3];
	if (!Numbers(args, 1, 3, v, error) || !FindObject(ctx, args[0], &op, error))
		return false;
	const Float toRadians = PI / 180.0;
	const Matrix rot = HPBToMatrix(Vector(v[0] * toRadians, v[1] * toRadians, v[2] * toRadians), ROTATIONORDER_DEFAULT);
	// The rotation replaces the frame's directions; position and axis scales stay.
	Matrix ml = op->GetMl();
	ml = Matrix(ml.off, rot.v1 * ml.v1.GetLength(), rot.v2 * ml.v2.GetLength(), rot.v3 * ml.v3.GetLength());
	return Place(op, ml, error);
}

bool RunMatrix(Context& ctx, const Words& args, std::string* error)
{
	BaseObject* op = nullptr;
	Float v[12];
	if (!Numbers(args, 1, 12, v, error) || !FindObject(ctx, args[0], &op, error))
		return false;
	return Place(op, Matrix(Vector(v[0], v[1], v[2]), Vector(v[3], v[4], v[5]), Vector(v[6], v[7], v[8]), Vector(v[9], v[10], v[11])), error);
}

VerbRegistration position(Verb{
	"set-position",
	kPositionUsage,
	"Sets an object's position relative to its parent.",
	[](const Words& args, std::string* error) { return CheckNumbers(args, 3, kPositionUsage, error); },
	RunPosition,
});

VerbRegistration rotation(Verb{
	"set-rotation",
	kRotationUsage,
	"Sets an object's rotation relative to its parent: heading, pitch, bank in degrees.",
	[](const Words& args, std::string* error) { return CheckNumbers(args, 3, kRotationUsage, error); },
	RunRotation,
});

VerbRegistration matrix(Verb{
	"set-matrix",
	kMatrixUsage,
	"Sets an object's whole matrix relative to its parent: offset, then the three axes.",
	[](const Words& args, std::string* error) { return CheckNumbers(args, 12, kMatrixUsage, error); },
	RunMatrix,
});

} // namespace

} // namespace standin::session
