// Parameter files chosen one after another while earlier ones are still being read.
#pragma once

#include "core/parameters/parameter_table.h"

#include <QtGlobal>

#include <optional>
#include <vector>

namespace card {

// The loads reach the table in the order they were chosen, whatever order their reads end in:
// a slot that a short file does not reach keeps what the file chosen before it read. A load
// before a whole file that has been read no longer counts, so a read that hangs there holds up
// nothing.
class ParameterLoads {
public:
    using Ticket = quint64;

    // What the table became once every load that counts has been read.
    struct Settled {
        ParameterTable table;
        bool whole = false; // the newest file was read whole
    };

    Ticket start();
    // Takes ticket's read. Once every load that counts has been read, gives the table they
    // make of base and forgets them.
    std::optional<Settled> finish(Ticket ticket, const ParameterRead& read,
                                  const ParameterTable& base);
    // True from a start until the loads settle.
    bool pending() const { return !m_loads.empty(); }

private:
    struct Load {
        Ticket ticket = 0;
        std::optional<ParameterRead> read;
    };
    std::vector<Load>::const_iterator firstCounting() const;

    std::vector<Load> m_loads; // in the order they were chosen
    Ticket m_newest = 0;
};

} // namespace card
