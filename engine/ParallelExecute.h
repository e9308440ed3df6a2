#pragma once
// Runs two procedures on threads of their own, then a third on the calling thread.

#include <functional>
#include <string>

using TParallelFunction = std::function<void()>;

// Runs p1 and p2 on two new threads and waits for both, whatever happens to either; when one
// failed, raises EOrvexError "<kind>: <message>" of its failure (the second thread's first)
// and final does not run. Otherwise runs final on the calling thread.
void ParallelExe(const TParallelFunction& p1, const TParallelFunction& p2, const TParallelFunction& final);
