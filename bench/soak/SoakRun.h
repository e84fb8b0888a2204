// The soak run: many documents printed one after another through the running host, each job
// exactly as the driver runs it, and after each job its files looked for where they belong:
// every planned file at its target with the bytes the job wrote, none left in the spool folder.
#pragma once

#include <windows.h>

#include <string>

namespace bench {

struct SoakCounts {
    bool prepared = false; // the documents rendered and the spool folder ready
    int documents = 0;
    int filesPlaced = 0;    // at the target with the size that the job wrote
    int filesMissing = 0;   // not at the target
    int filesDamaged = 0;   // at the target with another size
    int spoolFilesLeft = 0; // still in the spool folder after the job
    int failedJobs = 0;     // jobs that did not end with "printed"
    double msPerDocument = 0;

    // Every document printed and every file placed whole, nothing left behind.
    bool Clean(int wantedDocuments) const;
};

// Prints `documents` documents, the n-th to the fresh output root FOLDER\doc<n>, with the host
// given `requestTimeoutMs` for each request. The placed files are removed once checked.
SoakCounts RunSoak(int documents, const std::string& folder, HWND host, unsigned requestTimeoutMs);

} // namespace bench
