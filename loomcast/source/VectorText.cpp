#include "Dtool.h"

String DTOOL::VectorText(const Vector& v)
{
	return String("(") + String::FloatToString(v.x) + String(";") + String::FloatToString(v.y) + String(";") + String::FloatToString(v.z) + String(")");
}
