#pragma once

// What name resolution keeps for the life of the program.
struct ResolveState {};
