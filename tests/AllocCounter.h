#pragma once
// Number of calls of the global operator new so far in this test program: a linear pass over a
// text, or an inner loop of a fit, must not build a table entry or touch the heap at each step.
long HeapAllocations();
// Bytes those calls asked for, in all: what building something costs in memory.
long long HeapBytesAllocated();
