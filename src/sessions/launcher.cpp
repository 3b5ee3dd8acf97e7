#include "sessions/launcher.h"

#include "sessions/launch_params.h"
#include "sessions/putty_process.h"
#include "win/files.h"
#include "win/text.h"

namespace quarnel {

LaunchRequest SessionLaunch(const std::string& keyName, const std::string& passwordPart,
                            const std::string& startDirectory) {
    return {SessionParameters(keyName, passwordPart), startDirectory};
}

LaunchRequest DirectLaunch(DirectKind kind, const std::string& host,
                           const std::string& templateName) {
    switch (kind) {
    case DirectKind::Ssh:
        return {SshParameters(host), {}};
    case DirectKind::SshWithTemplate:
        return {TemplateSshParameters(templateName, host), {}};
    case DirectKind::Telnet:
        return {TelnetParameters(host), {}};
    }
    return {};
}

LaunchRequest PuttyAloneLaunch() {
    return {"", "."};
}

std::optional<StartedProcess> LaunchPutty(const std::string& puttyPath,
                                          const LaunchRequest& request) {
    if (!IsReadableFile(Widen(puttyPath))) {
        return std::nullopt;
    }
    return StartPuttyProcess(puttyPath, request.parameters,
                             request.workingFolder.empty() ? PuttyFolder(puttyPath)
                                                           : request.workingFolder);
}

} // namespace quarnel
