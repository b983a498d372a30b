#pragma once

enum class JvmType { Default, Server, FavorServer };
