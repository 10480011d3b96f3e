// The wall time of complete fresh installations, split by phase: a benchmark,
// not a test. Prints one column per run and the median, then the time the
// installer's check of its own file takes.
#pragma once

int RunBenchmark(int nRuns);
