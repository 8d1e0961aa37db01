// Work whose answer comes back later, where only the newest request's answer counts.
#pragma once

#include <QtGlobal>

namespace card {

class LatestRequest {
public:
    using Ticket = quint64;

    // Starts a request that supersedes every earlier one; its answer carries the ticket back.
    Ticket start()
    {
        m_pending = true;
        return ++m_newest;
    }
    // True when ticket names the newest request and it was not dropped since.
    bool isCurrent(Ticket ticket) const { return ticket == m_newest; }
    // The ticket of the newest request, for later work that belongs to it.
    Ticket current() const { return m_newest; }
    // Ends ticket's request; true when it is the current one, whose answer is to be used.
    bool finish(Ticket ticket)
    {
        if (!isCurrent(ticket))
            return false;
        m_pending = false;
        return true;
    }
    // No answer of a request started so far counts any more.
    void drop()
    {
        ++m_newest;
        m_pending = false;
    }
    // True from the start of the newest request until it finishes or is dropped.
    bool pending() const { return m_pending; }

private:
    Ticket m_newest = 0;
    bool m_pending = false;
};

} // namespace card
