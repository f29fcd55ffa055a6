#pragma once
// One running editor per user. The first instance keeps a local socket named by
// the instance record; a later start connects to it, asks the first to raise its
// window and ends without reading its command line. A socket left behind by a
// crashed instance refuses connections, and is then removed and taken over, so
// a crash never blocks the next start.
//
// The socket lives in $XDG_RUNTIME_DIR or, without one, in a folder of our own
// in the temporary folder ("tessarin-UID", mode 0700). Either is used only when
// it is a real folder (no link), ours, and closed to everybody else; a runtime
// folder that fails this gives way to the temporary one. So two users of one
// machine each get their own editor and no other user can stand in for ours.
// Both ends check that the other runs as the same user before anything said
// counts.
//
// A later start that names a legend file forwards it, whatever bytes its path
// holds: the running editor raises its window and opens that legend.

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

    // The socket path for the record name; empty without a private folder.
    const std::string& RecordPath() const { return m_path; }

    // True when an instance runs: it has been asked to raise its window (and
    // answered within the timeout, or not — it runs either way, see failure).
    // False leaves this process holding the start lock until Track: two editors
    // started at the same moment take turns, and the second finds the first.
    // openPath: an absolute legend path for the running instance to open.
    // failure: set when an instance runs but the request did not get through
    // (a path no system can open, or no answer in time), cleared otherwise.
    bool ActivatePrevious(const std::string& openPath = {}, int timeoutMs = 2000,
                          std::string* failure = nullptr);

    // Records this process as the running instance; `raise` is called on the
    // event loop whenever a later start asks, with the legend path it forwards
    // ("" for none). False, with the reason, when the socket cannot be made
    // (the editor then runs unrecorded).
    bool Track(std::function<void(const std::string& openPath)> raise, std::string* why = nullptr);

private:
    void ReleaseStartLock();

    std::string m_path;
    int m_lock = -1;
    std::unique_ptr<QLocalServer> m_server;
    std::function<void(const std::string&)> m_raise;
};
