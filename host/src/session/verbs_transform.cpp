// Commands that place objects: local position, rotation and the whole local matrix.
#include <cmath>

#include "hostapi/document.h"
#include "session/lookup.h"
#include "session/placement.h"
#include "session/words.h"

namespace standin::session
{

namespace
{

const char* kPositionUsage = "set-position <path> x y z";
const char* kRotationUsage = "set-rotation <path> h p b";
const char* kMatrixUsage = "set-matrix <path> offx offy offz v1x v1y v1z v2x v2y v2z v3x v3y v3z";

// An object path and count numbers after it.
struct NumbersArgs
{
	std::string path;
	Float v[12] = {};
};

std::function<bool(const Words&, NumbersArgs*, std::string*)> PathAndNumbers(size_t count, const char* usage)
{
	return [count, usage](const Words& args, NumbersArgs* out, std::string* error) {
		if (!CheckArity(args, count + 1, count + 1, usage, error) || !ParseReals(args, 1, count, "value", out->v, error))
			return false;
		out->path = args[0];
		return true;
	};
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

bool RunPosition(Session& session, const NumbersArgs& args, std::string* error)
{
	BaseObject* op = nullptr;
	if (!FindObject(session, args.path, &op, error))
		return false;
	Matrix ml = op->GetMl();
	ml.off = Vector(args.v[0], args.v[1], args.v[2]);
	return Place(op, ml, error);
}

bool RunRotation(Session& session, const NumbersArgs& args, std::string* error)
{
	BaseObject* op = nullptr;
	if (!FindObject(session, args.path, &op, error))
		return false;
	const Float toRadians = PI / 180.0;
	const Matrix rot = HPBToMatrix(Vector(args.v[0] * toRadians, args.v[1] * toRadians, args.v[2] * toRadians), ROTATIONORDER_DEFAULT);
	// The rotation replaces the frame's directions; position and axis scales stay.
	Matrix ml = op->GetMl();
	ml = Matrix(ml.off, rot.v1 * ml.v1.GetLength(), rot.v2 * ml.v2.GetLength(), rot.v3 * ml.v3.GetLength());
	return Place(op, ml, error);
}

bool RunMatrix(Session& session, const NumbersArgs& args, std::string* error)
{
	BaseObject* op = nullptr;
	if (!FindObject(session, args.path, &op, error))
		return false;
	const Float* v = args.v;
	return Place(op, Matrix(Vector(v[0], v[1], v[2]), Vector(v[3], v[4], v[5]), Vector(v[6], v[7], v[8]), Vector(v[9], v[10], v[11])), error);
}

VerbRegistration position(SceneEdit(MakeVerb<NumbersArgs>("set-position", kPositionUsage, "Sets an object's position relative to its parent.",
	PathAndNumbers(3, kPositionUsage), RunPosition)));

VerbRegistration rotation(SceneEdit(MakeVerb<NumbersArgs>("set-rotation", kRotationUsage,
	"Sets an object's rotation relative to its parent: heading, pitch, bank in degrees.", PathAndNumbers(3, kRotationUsage), RunRotation)));

VerbRegistration matrix(SceneEdit(MakeVerb<NumbersArgs>("set-matrix", kMatrixUsage,
	"Sets an object's whole matrix relative to its parent: offset, then the three axes.", PathAndNumbers(12, kMatrixUsage), RunMatrix)));

} // namespace

} // namespace standin::session
