// Vectors and matrices as the draw log and view descriptions print them: "(x;y;z)" with the host's
// number formatting.
#pragma once

#include <string>

#include "hostapi/vector.h"

namespace standin
{
std::string DescribeVector(const Vector& v);
std::string DescribeMatrix(const Matrix& m);
} // namespace standin
