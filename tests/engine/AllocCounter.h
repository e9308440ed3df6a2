#pragma once
// Number of calls of the global operator new so far in this test program; the inner loops
// of a fit must not change it.
long HeapAllocations();
