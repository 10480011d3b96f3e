// The wall time of complete fresh installations, split by phase: a benchmark,
// not a test. Prints one column per run and the median.
#pragma once

int RunBenchmark(int nRuns);
