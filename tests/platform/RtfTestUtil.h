// Helpers shared by the RTF tests.
#pragma once
