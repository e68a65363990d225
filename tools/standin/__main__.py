import sys

from tools.standin.serve import main

sys.exit(main())
