// The wall time of complete fresh installations, split by phase: a benchmark,
// not a test. Prints one column per run and the median, then the time the
// installer's check of its own file takes. Given the peer's installer and the
// same with an empty section, each run is paired with their silent runs, and
// the install work of both is compared.
#pragma once

#include <string>

int RunBenchmark(int nRuns, const std::string& strPeer = "", const std::string& strPeerEmpty = "");
