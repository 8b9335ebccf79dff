#pragma once

#include <string>
#include <vector>

#include "platform/profilefile.h"
#include "platform/ras.h"

// The jobs of the dial helper on the exchange file "autodial.ini": the caller sets
// retvalue/processing to "1" and waits; each job leaves its results in the file and
// writes processing = "0" as its very last step. Failures of the service are told only
// through Errors/RasError (and, for a dial, success = "0").
class TDialJob {
public:
    TDialJob(TRasService& ras, TProfileFile& exchange);

    void Dial();
    void HangUp();
    // Whether the phone-book entries can be listed; writes only a failure.
    void Check();

private:
    std::vector<TRasConnection> ActiveConnections();
    std::string Parameter(const std::string& key) const;
    void WriteError(unsigned code);
    void EndProcessing();

    TRasService& ras;
    TProfileFile& exchange;
};
