// The process entry's start-up steps, callable on their own for tests.
#pragma once

// Limits where DLLs load from to the system folder, or where Windows cannot, takes at least the
// current folder out of the search. False when neither could be set.
bool AfxRestrictDllSearch();
