#include "PNodeB.h"

PNodeB::~PNodeB()
{
	// Slots belong to the pool; they only leave this list here.
	children.UnlinkAll();
}
