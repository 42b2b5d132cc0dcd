#pragma once

// Who may change what, fixed when the program starts.
enum TProgramMode { Normal = 0, Extended = 1, Manufacture = 2 };
