#pragma once

// The two operations through which a record changes the disk. The program uses the system's;
// a test hands in its own to make a write come up short or a move fail.
class CDiskOps
{
public:
    virtual ~CDiskOps() = default;
    // Writes bytes to an open file; true when the call succeeded (*written may still be short).
    virtual bool WriteBytes(void* file, const void* data, unsigned long size, unsigned long* written) const;
    // Moves a file without replacing another; false with the platform's last error set.
    virtual bool MoveWithoutReplacing(const char* from, const char* to) const;

    static const CDiskOps& System();
};
