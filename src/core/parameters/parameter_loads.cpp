#include "core/parameters/parameter_loads.h"

#include <algorithm>

namespace card {

ParameterLoads::Ticket ParameterLoads::start()
{
    m_loads.push_back({++m_newest, std::nullopt});
    return m_newest;
}

std::optional<ParameterLoads::Settled>
ParameterLoads::finish(Ticket ticket, const ParameterRead& read, const ParameterTable& base)
{
    const auto load = std::find_if(m_loads.begin(), m_loads.end(),
                                   [ticket](const Load& l) { return l.ticket == ticket; });
    if (load == m_loads.end())
        return std::nullopt;
    load->read = read;
    const auto counting = firstCounting();
    if (!std::all_of(counting, m_loads.cend(), [](const Load& l) { return l.read.has_value(); }))
        return std::nullopt;
    Settled settled{base, m_loads.back().read->whole()};
    for (auto l = counting; l != m_loads.cend(); ++l)
        l->read->applyTo(settled.table);
    m_loads.clear();
    return settled;
}

// The newest whole file read overwrites every slot: the loads chosen before it no longer count.
std::vector<ParameterLoads::Load>::const_iterator ParameterLoads::firstCounting() const
{
    const auto whole = std::find_if(m_loads.crbegin(), m_loads.crend(),
                                    [](const Load& l) { return l.read && l.read->whole(); });
    return whole == m_loads.crend() ? m_loads.cbegin() : std::prev(whole.base());
}

} // namespace card
