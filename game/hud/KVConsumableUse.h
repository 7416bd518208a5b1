#pragma once

#include <string>

/// What the HUD's consumables bar asks of the consumable service, in one place.
namespace kvconsumables {

/// The profile holds at least one of the bar's consumables.
bool hasAnyInStock();
/// The profile holds at least one unit of `name`.
bool inStock(const std::string& name);
/// `name` can be used now.
bool canUse(const std::string& name);
/// Uses one `name` through the consumable service.
void use(const std::string& name);
/// Lets a tentacle whose effect has been shown act.
void triggerPendingTentacle();

} // namespace kvconsumables
