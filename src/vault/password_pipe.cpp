#include "vault/password_pipe.h"

#include "registry/value_text.h"
#include "vault/random.h"
#include "win/text.h"

#include <sddl.h>

#include <algorithm>

namespace quarnel {

namespace {

// PuTTY gives up on a password file it cannot have; so do we, after this long.
constexpr ULONGLONG kLifetimeMs = 30'000;

void Wipe(std::string& text) {
    SecureZeroMemory(text.data(), text.size());
    text.clear();
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

std::unique_ptr<PasswordPipe> PasswordPipe::Create(std::string password) {
    auto pipe = std::make_unique<PasswordPipe>(Made());
    pipe->password_ = std::move(password);
    const auto random = RandomBytes(16);
    const std::wstring sddl = OwnerOnlyDescriptor();
    if (!random || sddl.empty()) {
        return nullptr;
    }
    pipe->path_ = "\\\\.\\pipe\\quarnel-" + FormatHexBytes(*random);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        return nullptr;
    }
    SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
    pipe->pipe_.reset(CreateNamedPipeW(
        Widen(pipe->path_).c_str(),
        PIPE_ACCESS_OUTBOUND | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED,
        PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 4096, 0, 0, &security));
    LocalFree(descriptor);
    if (pipe->pipe_.get() == INVALID_HANDLE_VALUE) {
        pipe->pipe_.release();
        return nullptr;
    }
    pipe->connected_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    pipe->deadline_ = GetTickCount64() + kLifetimeMs;
    if (!pipe->connected_ || !pipe->Listen()) {
        return nullptr;
    }
    return pipe;
}

PasswordPipe::~PasswordPipe() {
    Finish();
}

bool PasswordPipe::Listen() {
    ResetEvent(connected_.get());
    connection_ = {};
    connection_.hEvent = connected_.get();
    if (ConnectNamedPipe(pipe_.get(), &connection_)) {
        SetEvent(connected_.get());
        return true;
    }
    switch (GetLastError()) {
    case ERROR_IO_PENDING:
        return true;
    case ERROR_PIPE_CONNECTED: // a client came between creating and listening
        SetEvent(connected_.get());
        return true;
    default:
        return false;
    }
}

void PasswordPipe::ServeTo(UniqueHandle process, DWORD processId) {
    process_ = std::move(process);
    processId_ = processId;
}

std::vector<HANDLE> PasswordPipe::WaitHandles() const {
    std::vector<HANDLE> handles;
    if (pipe_) {
        handles.push_back(connected_.get());
        if (process_) {
            handles.push_back(process_.get());
        }
    }
    return handles;
}

void PasswordPipe::Step() {
    if (!pipe_) {
        return;
    }
    if (WaitForSingleObject(connected_.get(), 0) == WAIT_OBJECT_0) {
        DWORD ignored = 0;
        GetOverlappedResult(pipe_.get(), &connection_, &ignored, FALSE);
        ULONG client = 0;
        if (processId_ != 0 && GetNamedPipeClientProcessId(pipe_.get(), &client) &&
            client == processId_) {
            std::string line = password_ + "\n";
            OVERLAPPED write{};
            write.hEvent = connected_.get();
            ResetEvent(connected_.get());
            DWORD written = 0;
            if (!WriteFile(pipe_.get(), line.data(), static_cast<DWORD>(line.size()), &written,
                           &write) &&
                GetLastError() == ERROR_IO_PENDING) {
                GetOverlappedResult(pipe_.get(), &write, &written, TRUE); // fits the buffer
            }
            Wipe(line);
            // Closing leaves the line in the pipe for PuTTY to read.
            Finish();
            return;
        }
        // Somebody else: nothing for them, and the pipe waits for PuTTY again.
        DisconnectNamedPipe(pipe_.get());
        if (!Listen()) {
            Finish();
            return;
        }
    }
    if ((process_ && WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) ||
        GetTickCount64() >= deadline_) {
        Finish();
    }
}

void PasswordPipe::Finish() {
    Wipe(password_);
    if (pipe_) {
        CancelIo(pipe_.get());
        pipe_.reset();
    }
    process_.reset();
}

void PasswordPipes::Add(std::unique_ptr<PasswordPipe> pipe) {
    pipes_.push_back(std::move(pipe));
}

std::vector<HANDLE> PasswordPipes::WaitHandles() const {
    std::vector<HANDLE> handles;
    for (const auto& pipe : pipes_) {
        const std::vector<HANDLE> own = pipe->WaitHandles();
        // A wait takes at most MAXIMUM_WAIT_OBJECTS handles, one of them the messages'.
        if (handles.size() + own.size() >= MAXIMUM_WAIT_OBJECTS) {
            break;
        }
        handles.insert(handles.end(), own.begin(), own.end());
    }
    return handles;
}

void PasswordPipes::Step() {
    for (const auto& pipe : pipes_) {
        pipe->Step();
    }
    std::erase_if(pipes_, [](const auto& pipe) { return pipe->Finished(); });
}

DWORD PasswordPipes::MillisecondsToNextDeadline() const {
    if (pipes_.empty()) {
        return INFINITE;
    }
    const ULONGLONG now = GetTickCount64();
    ULONGLONG next = pipes_.front()->Deadline();
    for (const auto& pipe : pipes_) {
        next = std::min(next, pipe->Deadline());
    }
    return next <= now ? 0 : static_cast<DWORD>(next - now);
}

} // namespace quarnel
