package e2e;

import java.io.File;

// The single-instance application of the end-to-end tests on the real VM.
// main reports that it started, then waits (a minute at most) until the file
// named by its first argument exists. secondaryMain reports what it received,
// escaped as e2e.Console does, and returns its first argument as a number.
public class Instance {
    public static void main(String[] args) throws Exception {
        say("main started");
        File release = new File(args[0]);
        for (int waited = 0; !release.exists() && waited < 60000; waited += 20) {
            Thread.sleep(20);
        }
        say("main returns");
    }

    public static int secondaryMain(String[] args) {
        StringBuilder line = new StringBuilder("secondaryMain");
        for (String arg : args) {
            line.append(' ').append(Console.escape(arg));
        }
        say(line.toString());
        return Integer.parseInt(args[0]);
    }

    static synchronized void say(String line) {
        System.out.println(line);
        System.out.flush();
    }
}
