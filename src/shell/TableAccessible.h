#pragma once

// Gives the table widget to screen readers as a list of its thirteen places, each named for
// what it holds, the focused one marked. Installed once; harmless to call again.
void InstallTableAccessible();
