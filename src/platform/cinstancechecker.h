#pragma once
// One running editor per user. The first instance keeps a local socket named by
// the instance record; a later start connects to it, asks the first to raise its
// window and ends without reading its command line. A socket left behind by a
// crashed instance refuses connections, and is then removed and taken over, so
// a crash never blocks the next start.
//
// The socket lives in $XDG_RUNTIME_DIR (private to the user) or, without one, in
// the temporary folder under a name that carries the user id, so two users of one
// machine each get their own editor.

#include <functional>
#include <memory>
#include <string>

inline constexpr const char* InstanceRecordName = "{5C4E23C3-EEBE-4db3-97E3-63F6A63ED1CA}";

class QLocalServer;

class CInstanceChecker {
public:
    explicit CInstanceChecker(const std::string& recordName = InstanceRecordName);
    ~CInstanceChecker();
    CInstanceChecker(const CInstanceChecker&) = delete;
    CInstanceChecker& operator=(const CInstanceChecker&) = delete;

    // The socket path for the record name.
    const std::string& RecordPath() const { return m_path; }

    // True when an instance runs: it has been asked to raise its window (and
    // answered within the timeout, or is too busy to answer — it runs either way).
    // False leaves this process holding the start lock until Track: two editors
    // started at the same moment take turns, and the second finds the first.
    bool ActivatePrevious(int timeoutMs = 2000);

    // Records this process as the running instance; `raise` is called on the
    // event loop whenever a later start asks. False, with the reason, when the
    // socket cannot be made (the editor then runs unrecorded).
    bool Track(std::function<void()> raise, std::string* why = nullptr);

private:
    void ReleaseStartLock();

    std::string m_path;
    int m_lock = -1;
    std::unique_ptr<QLocalServer> m_server;
    std::function<void()> m_raise;
};
