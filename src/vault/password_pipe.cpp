#include "vault/password_pipe.h"

#include "registry/value_text.h"
#include "vault/random.h"
#include "win/text.h"

#include <sddl.h>

#include <algorithm>

namespace quarnel {

namespace {

using Clock = std::chrono::steady_clock;

// One wait takes at most MAXIMUM_WAIT_OBJECTS handles: the wake event and two per pipe.
// More starts under way at once get no pipe, and their PuTTY asks.
constexpr size_t kMostPipes = (MAXIMUM_WAIT_OBJECTS - 1) / 2;

void Wipe(std::string& text) {
    SecureZeroMemory(text.data(), text.size());
    text.clear();
}

bool Signalled(HANDLE handle) {
    return handle != nullptr && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
}

// Full access for the user this process runs as, for nobody else.
std::wstring OwnerOnlyDescriptor() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return {};
    }
    const UniqueHandle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        return {};
    }
    wchar_t* sid = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
        return {};
    }
    std::wstring descriptor = L"D:P(A;;GA;;;" + std::wstring(sid) + L")";
    LocalFree(sid);
    return descriptor;
}

} // namespace

// Touched only under the mutex. Once Prepare has handed it over, the calls of the other
// thread change `password`, `process`, `processId` and `withdrawn` alone: every I/O on
// the pipe is issued, cancelled and waited for on the courier's thread, and no handle
// it waits for is closed or replaced behind its back.
struct PasswordCourier::Pipe {
    enum class Stage { Fresh, Listening, Connected, Gone };

    ~Pipe() { Wipe(password); }

    // Waits for the next client; one that came before is taken as connected.
    Stage Listen() {
        ResetEvent(connected.get());
        connection = {};
        connection.hEvent = connected.get();
        if (ConnectNamedPipe(pipe.get(), &connection)) {
            return Stage::Connected;
        }
        const DWORD error = GetLastError();
        return error == ERROR_IO_PENDING       ? Stage::Listening
               : error == ERROR_PIPE_CONNECTED ? Stage::Connected
                                               : Stage::Gone;
    }

    // One line; closing then leaves it in the pipe for PuTTY to read.
    void Send() {
        std::string line;
        line.reserve(password.size() + 1); // no copy is left behind by a growing buffer
        line.append(password).push_back('\n');
        OVERLAPPED write{};
        write.hEvent = connected.get();
        ResetEvent(connected.get());
        DWORD written = 0;
        if (!WriteFile(pipe.get(), line.data(), static_cast<DWORD>(line.size()), &written,
                       &write) &&
            GetLastError() == ERROR_IO_PENDING) {
            GetOverlappedResult(pipe.get(), &write, &written, TRUE); // the buffer holds it
        }
        Wipe(line);
    }

    void Close() {
        Wipe(password);
        if (stage == Stage::Listening) {
            // The system writes into `connection` until the cancellation is through.
            CancelIo(pipe.get());
            DWORD ignored = 0;
            GetOverlappedResult(pipe.get(), &connection, &ignored, TRUE);
        }
        pipe.reset();
        process.reset();
        stage = Stage::Gone;
    }

    std::wstring path;
    std::string password;
    UniqueHandle pipe;
    UniqueHandle connected; // the event of the connection and of the write
    OVERLAPPED connection{};
    Stage stage = Stage::Fresh;
    Clock::time_point deadline;
    UniqueHandle process;
    DWORD processId = 0;
    bool withdrawn = false;
};

PasswordCourier::PasswordCourier(std::chrono::milliseconds lifetime)
    : lifetime_(lifetime), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    if (wake_) {
        thread_ = std::thread([this] { Run(); });
    }
}

PasswordCourier::~PasswordCourier() {
    Drain();
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    SetEvent(wake_.get());
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::optional<std::wstring> PasswordCourier::Prepare(std::string password) {
    auto pipe = std::make_unique<Pipe>();
    pipe->password = password;
    Wipe(password);
    const auto random = RandomBytes(16);
    const std::wstring sddl = OwnerOnlyDescriptor();
    if (!thread_.joinable() || !random || sddl.empty()) {
        return std::nullopt;
    }
    pipe->path = L"\\\\.\\pipe\\quarnel-" + Widen(FormatHexBytes(*random));
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        return std::nullopt;
    }
    SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
    const DWORD outBuffer = std::max<DWORD>(4096, static_cast<DWORD>(pipe->password.size() + 1));
    pipe->pipe.reset(CreateNamedPipeW(
        pipe->path.c_str(),
        PIPE_ACCESS_OUTBOUND | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED,
        PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, outBuffer, 0, 0, &security));
    LocalFree(descriptor);
    if (pipe->pipe.get() == INVALID_HANDLE_VALUE) {
        pipe->pipe.release();
        return std::nullopt;
    }
    pipe->connected.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    pipe->deadline = Clock::now() + lifetime_;
    const std::lock_guard lock(mutex_);
    if (!pipe->connected || pipes_.size() >= kMostPipes) {
        return std::nullopt;
    }
    std::wstring path = pipe->path;
    pipes_.push_back(std::move(pipe));
    SetEvent(wake_.get());
    return path;
}

void PasswordCourier::Serve(const std::wstring& path, UniqueHandle process, DWORD processId) {
    const std::lock_guard lock(mutex_);
    for (const auto& pipe : pipes_) {
        // The thread may be waiting for the process handle: it is given once, never replaced.
        if (pipe->path == path && pipe->processId == 0 && processId != 0) {
            pipe->process = std::move(process);
            pipe->processId = processId;
            SetEvent(wake_.get());
        }
    }
}

void PasswordCourier::Withdraw(const std::wstring& path) {
    std::unique_lock lock(mutex_);
    const auto isIt = [&path](const auto& pipe) { return pipe->path == path; };
    const auto found = std::find_if(pipes_.begin(), pipes_.end(), isIt);
    if (found == pipes_.end()) {
        return;
    }
    Wipe((*found)->password);
    (*found)->withdrawn = true;
    SetEvent(wake_.get());
    gone_.wait(lock, [&] { return std::none_of(pipes_.begin(), pipes_.end(), isIt); });
}

void PasswordCourier::Drain() {
    std::unique_lock lock(mutex_);
    gone_.wait(lock, [this] { return pipes_.empty(); });
}

void PasswordCourier::Step(Pipe& pipe) {
    using Stage = Pipe::Stage;
    if (pipe.withdrawn) {
        pipe.Close();
        return;
    }
    if (pipe.stage == Stage::Fresh) {
        pipe.stage = pipe.Listen();
    }
    if (pipe.stage == Stage::Listening && Signalled(pipe.connected.get())) {
        DWORD ignored = 0;
        GetOverlappedResult(pipe.pipe.get(), &pipe.connection, &ignored, FALSE);
        pipe.stage = Stage::Connected;
    }
    // Until Serve says who it must be, a client is held: PuTTY may open its file before
    // the start has returned its process.
    if (pipe.stage == Stage::Connected && pipe.processId != 0) {
        ULONG client = 0;
        if (GetNamedPipeClientProcessId(pipe.pipe.get(), &client) && client == pipe.processId) {
            pipe.Send();
            pipe.Close();
            return;
        }
        // Somebody else: nothing for them, and the pipe waits for PuTTY again.
        DisconnectNamedPipe(pipe.pipe.get());
        pipe.stage = pipe.Listen();
    }
    if (pipe.stage == Stage::Gone || Signalled(pipe.process.get()) ||
        Clock::now() >= pipe.deadline) {
        pipe.Close();
    }
}

void PasswordCourier::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        for (const auto& pipe : pipes_) {
            Step(*pipe);
        }
        if (std::erase_if(pipes_,
                          [](const auto& pipe) { return pipe->stage == Pipe::Stage::Gone; }) > 0) {
            gone_.notify_all();
        }
        if (ending_ && pipes_.empty()) {
            return;
        }
        std::vector<HANDLE> handles{wake_.get()};
        DWORD timeout = INFINITE;
        for (const auto& pipe : pipes_) {
            if (pipe->stage == Pipe::Stage::Listening) {
                handles.push_back(pipe->connected.get());
            }
            if (pipe->process) {
                handles.push_back(pipe->process.get());
            }
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(pipe->deadline - Clock::now()).count();
            timeout = std::min(timeout, static_cast<DWORD>(std::max<decltype(left)>(left, 0)));
        }
        lock.unlock();
        WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, timeout);
        lock.lock();
    }
}

} // namespace quarnel
