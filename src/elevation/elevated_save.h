// Saving as a standard user. The settings live under HKEY_LOCAL_MACHINE,
// which a standard user (an administrator too, under UAC) cannot write; the
// shell then starts its own elevated instance, once, with one UAC prompt,
// hands it the values through a named file mapping that only the user's
// instance could have made, and waits for it to write them and end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "elevation/save_request.h"
#include "platform/elevation_port.h"
#include "platform/ports.h"
#include "platform/registry_port.h"

namespace glimmer {

// The elevated instance's one command line: the program, a blank, this
// option, a blank and the request's token.
inline constexpr std::u16string_view kElevatedSaveOption = u"--glimmerdale-elevated-save";
// The token: 32 lowercase hexadecimal digits from the system's random numbers.
inline constexpr std::size_t kRequestTokenLength = 32;
// How the elevated instance is started: its process handle kept, the class
// "exefile" used, the call returning only when the start is done, no error
// box of the system's (the dialog shows the product's), and no attachment
// zone check: the shell starts the very file it is running, so that check
// would only add a second prompt to the UAC one for a downloaded shell.
inline constexpr std::uint32_t kElevatedStartMask = kSeeMaskNoCloseProcess | kSeeMaskClassName |
                                                    kSeeMaskNoAsync | kSeeMaskFlagNoUi |
                                                    kSeeMaskNoZoneChecks;
// The elevated instance only writes and ends; what takes longer has failed.
inline constexpr std::uint32_t kElevatedSaveTimeoutMs = 30'000;

// The elevated instance's exit codes.
inline constexpr int kElevatedSaveWritten = 0;
inline constexpr int kElevatedSaveNoRequest = 2;   // no such mapping, or it cannot be read
inline constexpr int kElevatedSaveRefused = 3;     // not a request it may write
inline constexpr int kElevatedSaveNotWritten = 4;  // a write was refused

// Whether the save could write the settings key with this process's rights.
// Asks the way the save opens it (for setting values, in its view), or, while
// the key does not exist, its nearest existing parent for creating a subkey;
// writes and creates nothing. Only a refusal counts: any other answer leaves
// the save to find out.
bool SettingsKeyWritable(RegistryPort& registry, SystemPort& system);

// The token of an elevated instance's command line, none for every other
// command line, which keeps its meaning.
std::optional<std::u16string> ElevatedSaveToken(std::u16string_view commandLine);

// The name of the mapping a token stands for, in this session's namespace.
std::u16string RequestMappingName(std::u16string_view token);

// What starting the elevated instance takes.
struct ElevationPorts {
  ElevationPort& elevation;
  ProcessPort& processes;
};

// Starts the elevated instance for request, owned by owner's UAC prompt, and
// waits for it. True when it wrote everything; false when the user declined,
// it could not start, failed or did not end in time.
bool SaveElevated(const SaveRequest& request, const ElevationPorts& ports, WindowHandle owner);

// The elevated instance's mode: reads the request of token once, checks it
// against what the settings key holds, writes it. Its exit code, 0 only when
// everything was written; whatever escapes it ends the process with
// kElevatedSaveNotWritten (RunShell).
int RunElevatedSave(std::u16string_view token, ElevationPort& elevation, RegistryPort& registry,
                    SystemPort& system);

}  // namespace glimmer
