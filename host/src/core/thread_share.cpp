#include "core/thread_share.h"

namespace standin::threads
{
namespace
{
thread_local Int32 t_share = 0;
}

Int32 CallerShare()
{
	return t_share;
}

void SetCallerShare(Int32 n)
{
	t_share = n > 0 ? n : 0;
}

} // namespace standin::threads
