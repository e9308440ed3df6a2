#pragma once
// Heap use of the benchmark program (global operator new and delete), in bytes.

void HeapPeakReset(); // the peak starts again from what is in use now
long long HeapInUse();
long long HeapPeak();
