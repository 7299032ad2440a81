#pragma once
#include <memory>

#include "form/ResolveState.h"

// The platform's resolver (getnameinfo / getaddrinfo), stateless and thread-safe: one serves the
// whole program.
std::shared_ptr<Resolver> SystemResolver();

// The resolver a lookup goes through: the one the form was given, else the system resolver.
std::shared_ptr<Resolver> ResolverOf(const ResolveState& state);
