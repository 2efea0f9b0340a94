#pragma once
#include <cstddef>
#include <list>
#include <unordered_map>

class CMp3File;

// The tracks whose tags were changed through the list and not yet written: in the order they
// were first changed, each at most once, with constant-time membership.
class CModifiedTracks
{
public:
    using const_iterator = std::list<CMp3File*>::const_iterator;

    // Adds the track at the end unless it is already in; true when it was added.
    bool Add(CMp3File* track)
    {
        if (Contains(track))
            return false;
        m_index.emplace(track, m_order.insert(m_order.end(), track));
        return true;
    }
    bool Remove(const CMp3File* track)
    {
        const auto found = m_index.find(track);
        if (found == m_index.end())
            return false;
        m_order.erase(found->second);
        m_index.erase(found);
        return true;
    }
    // Removes every track for which keep() is false, in order.
    template <class Keep>
    void Filter(Keep keep)
    {
        for (auto it = m_order.begin(); it != m_order.end();) {
            if (keep(*it)) {
                ++it;
            } else {
                m_index.erase(*it);
                it = m_order.erase(it);
            }
        }
    }
    bool Contains(const CMp3File* track) const { return m_index.count(track) != 0; }
    size_t GetCount() const { return m_order.size(); }
    bool IsEmpty() const { return m_order.empty(); }
    const_iterator begin() const { return m_order.begin(); }
    const_iterator end() const { return m_order.end(); }

private:
    std::list<CMp3File*> m_order;
    std::unordered_map<const CMp3File*, std::list<CMp3File*>::iterator> m_index;
};
