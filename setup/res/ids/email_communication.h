// Resource ids of the E-Mail Setting(1), (2) and Communication Setting pages.
#pragma once
