// The platform header stands in for this one (see windows.h beside it).
#include <windows.h>
