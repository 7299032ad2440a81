#pragma once
#include <functional>
#include <string>

// The per-user store of the scrambled router password (organization "Stillbeacon", application
// "Drovix", key "E5"). The password lives here rather than in Drovix.ini so that a copied or
// shared program folder does not carry it along.

// The stored (scrambled) password; empty when there is none.
std::string ReadStoredPassword();
// Leaves the store untouched when it already holds scrambled.
void WriteStoredPassword(const std::string& scrambled);
// Removes the stored password if there is one.
void DeleteStoredPassword();
// The file behind the store on this platform.
std::string PasswordStoreLocation();

// The store's operations as values, for code that may be handed another store: the settings
// reader, which the fuzz target runs against a store kept in memory.
struct PasswordStoreAccess {
    std::function<std::string()> Read = ReadStoredPassword;
    std::function<void(const std::string&)> Write = WriteStoredPassword;
    std::function<void()> Delete = DeleteStoredPassword;
};
