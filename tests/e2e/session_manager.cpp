// A small X session manager, as a desktop runs one, for one client: it
// listens on a local ICE socket and writes the address for SESSION_MANAGER,
// takes the client that registers, and at SIGUSR1 logs out as a desktop
// does: SaveYourself for a shutdown (interaction allowed), then, once the
// client has saved, Die. Each step is a line on standard output:
//   listening <address> | registered | saved <1 or 0> | died | closed | gone
// It ends when its client has gone.

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

volatile sig_atomic_t g_logout = 0;
SmsConn g_client = nullptr;
IceConn g_ice = nullptr;
bool g_ended = false;

void Say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// No authority file is involved: every local client is let in.
Bool LetIn(char*) { return True; }

// The library's default ends the process; a client that goes is ours to tell.
void KeepOnIOError(IceConn) {}

Status Register(SmsConn conn, SmPointer, char* previousId)
{
    std::free(previousId);
    char* id = SmsGenerateClientID(conn);
    static char fallback[] = "1horomine-e2e-client";
    const Status ok = SmsRegisterClientReply(conn, id ? id : fallback);
    std::free(id);
    Say("registered");
    return ok;
}

void SaveYourselfDone(SmsConn conn, SmPointer, Bool success)
{
    Say(std::string("saved ") + (success ? "1" : "0"));
    SmsDie(conn);
    Say("died");
}

void CloseConnection(SmsConn conn, SmPointer, int count, char** reasons)
{
    SmFreeReasons(count, reasons);
    Say("closed");
    IceConn ice = SmsGetIceConnection(conn);
    SmsCleanUp(conn);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
    g_client = nullptr;
    g_ice = nullptr;
    g_ended = true;
}

Status NewClient(SmsConn conn, SmPointer, unsigned long* mask, SmsCallbacks* cb, char**)
{
    if (g_client)
        return 0; // one client is all this manager serves
    g_client = conn;
    *cb = {};
    cb->register_client.callback = Register;
    cb->interact_request.callback = [](SmsConn c, SmPointer, int) { SmsInteract(c); };
    cb->interact_done.callback = [](SmsConn, SmPointer, Bool) {};
    cb->save_yourself_request.callback = [](SmsConn, SmPointer, int, Bool, int, Bool, Bool) {};
    cb->save_yourself_phase2_request.callback = [](SmsConn c, SmPointer) { SmsSaveYourselfPhase2(c); };
    cb->save_yourself_done.callback = SaveYourselfDone;
    cb->close_connection.callback = CloseConnection;
    cb->set_properties.callback = [](SmsConn, SmPointer, int count, SmProp** props) {
        for (int i = 0; i < count; ++i)
            SmFreeProperty(props[i]);
        std::free(props);
    };
    cb->delete_properties.callback = [](SmsConn, SmPointer, int count, char** names) {
        for (int i = 0; i < count; ++i)
            std::free(names[i]);
        std::free(names);
    };
    cb->get_properties.callback = [](SmsConn c, SmPointer) { SmsReturnProperties(c, 0, nullptr); };
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask
        | SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask
        | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask
        | SmsGetPropertiesProcMask;
    return 1;
}

} // namespace

int main()
{
    std::signal(SIGUSR1, [](int) { g_logout = 1; });
    IceSetIOErrorHandler(KeepOnIOError);
    char error[256] = "";
    if (!SmsInitialize("horomine-e2e", "1.0", NewClient, nullptr, LetIn, sizeof error, error)) {
        std::fprintf(stderr, "SmsInitialize: %s\n", error);
        return 1;
    }
    int count = 0;
    IceListenObj* all = nullptr;
    if (!IceListenForConnections(&count, &all, sizeof error, error)) {
        std::fprintf(stderr, "IceListenForConnections: %s\n", error);
        return 1;
    }
    // Only the local socket: no network is needed, nor wanted.
    std::vector<IceListenObj> local;
    for (int i = 0; i < count; ++i) {
        char* id = IceGetListenConnectionString(all[i]);
        if (id && std::strncmp(id, "local/", 6) == 0) {
            IceSetHostBasedAuthProc(all[i], LetIn);
            local.push_back(all[i]);
        }
        std::free(id);
    }
    if (local.empty()) {
        std::fprintf(stderr, "no local ICE socket\n");
        return 1;
    }
    char* address = IceComposeNetworkIdList(static_cast<int>(local.size()), local.data());
    Say(std::string("listening ") + address);
    std::free(address);

    bool asked = false;
    while (!g_ended) {
        std::vector<pollfd> fds;
        for (IceListenObj l : local)
            fds.push_back({ IceGetListenConnectionNumber(l), POLLIN, 0 });
        if (g_ice)
            fds.push_back({ IceConnectionNumber(g_ice), POLLIN, 0 });
        poll(fds.data(), fds.size(), 20);
        if (g_logout && g_client && !asked) {
            asked = true;
            SmsSaveYourself(g_client, SmSaveBoth, True, SmInteractStyleAny, False);
        }
        for (size_t i = 0; i < local.size(); ++i) {
            if (!(fds[i].revents & POLLIN) || g_ice)
                continue;
            IceAcceptStatus status;
            g_ice = IceAcceptConnection(local[i], &status);
            // The connection's set-up is a few messages; its protocol's
            // (XSMP) follows through the loop below.
            while (g_ice && IceConnectionStatus(g_ice) == IceConnectPending)
                if (IceProcessMessages(g_ice, nullptr, nullptr) != IceProcessMessagesSuccess)
                    break;
            if (g_ice && IceConnectionStatus(g_ice) != IceConnectAccepted) {
                IceCloseConnection(g_ice);
                g_ice = nullptr;
            }
        }
        if (g_ice && fds.size() > local.size() && (fds.back().revents & (POLLIN | POLLHUP | POLLERR))) {
            if (IceProcessMessages(g_ice, nullptr, nullptr) != IceProcessMessagesSuccess && !g_ended) {
                Say("gone");
                g_ended = true;
            }
        }
    }
    IceFreeListenObjs(count, all);
    return 0;
}
