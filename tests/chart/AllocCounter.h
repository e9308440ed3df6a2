#pragma once
// Number of calls of the global operator new so far in this test program.
long HeapAllocations();
