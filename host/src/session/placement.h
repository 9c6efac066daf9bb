// The checks that keep every matrix a verb stores finite.
#pragma once

#include <string>

class BaseObject;
struct Matrix;

namespace standin::session
{

// True when no part of m is a NaN or infinity.
bool FiniteMatrix(const Matrix& m);
// False with *error (naming the object) when giving op the local matrix ml under a parent whose
// world matrix is parentMg would make the world matrix of op (and, with descendants, of anything
// below it) overflow. A move that keeps op's world matrix need not look below it.
bool CheckPlacement(BaseObject* op, const Matrix& parentMg, const Matrix& ml, bool descendants, std::string* error);

} // namespace standin::session
