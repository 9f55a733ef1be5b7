#pragma once

// Whether the program runs with the full rights of an administrator that the person asked for
// ("以管理员身份运行"), as opposed to the rights the desktop was started with.

namespace app {

// True when the process's token is the elevated one of a split administrator token
// (TokenElevationTypeFull). False for a limited token, for an account without a split token
// (elevation is then nothing the person chose), and where the token cannot be read.
bool ProcessRunsElevated();

}  // namespace app
