package e2e;

// The console application of the end-to-end tests on the real VM. It reports
// what it received on System.out, one line each, with every character outside
// printable ASCII written as a backslash, "u" and four hex digits, so that
// what the launcher handed over can be compared exactly whatever the streams'
// encoding. Arguments that start with "--" are also commands, run in order
// after the report:
//   --exit=N       System.exit(N)
//   --throw=TEXT   throw an IllegalStateException with that message
//   --err=TEXT     print TEXT on System.err
//   --recurse=N    recurse N calls deep and report "recursed N", or "stack overflow"
//   --thread=MS    start a non-daemon thread that reports "thread done" after MS ms
//   --load=CLASS   load CLASS by name and report "loaded CLASS"
//   --prop=NAME    report "prop NAME=" and the system property's value
//   --env=NAME     report "env NAME=" and the environment variable's value
//   --sleep=MS     sleep MS ms
//   --hook=FILE    add a shutdown hook that writes "hook ran" to FILE
//   --touch=FILE   create FILE (an empty one), to say how far main got
//   --runs=FILE:N:CODE  append the working directory and the arguments to
//                  FILE as a line, then System.exit(CODE) while FILE has
//                  fewer than N lines
public class Console {
    static String[] arguments;

    public static void main(String[] args) throws Exception {
        arguments = args;
        System.out.println("main " + args.length);
        for (int i = 0; i < args.length; i++) {
            System.out.println("arg " + i + " " + escape(args[i]));
        }
        for (String arg : args) {
            run(arg);
        }
        System.out.println("main returns");
    }

    static void run(String command) throws Exception {
        if (command.startsWith("--exit=")) {
            System.exit(Integer.parseInt(value(command)));
        } else if (command.startsWith("--throw=")) {
            throw new IllegalStateException(value(command));
        } else if (command.startsWith("--err=")) {
            System.err.println(value(command));
        } else if (command.startsWith("--recurse=")) {
            try {
                System.out.println("recursed " + recurse(Integer.parseInt(value(command))));
            } catch (StackOverflowError e) {
                System.out.println("stack overflow");
            }
        } else if (command.startsWith("--runs=")) {
            countRun(value(command).split(":"));
        } else if (command.startsWith("--hook=")) {
            final String file = value(command);
            Runtime.getRuntime().addShutdownHook(new Thread(new Runnable() {
                public void run() {
                    try {
                        java.io.FileWriter writer = new java.io.FileWriter(file);
                        writer.write("hook ran");
                        writer.close();
                    } catch (java.io.IOException e) {
                        System.out.println("hook failed");
                    }
                }
            }));
        } else if (command.startsWith("--touch=")) {
            new java.io.FileOutputStream(value(command)).close();
        } else if (command.startsWith("--sleep=")) {
            Thread.sleep(Long.parseLong(value(command)));
        } else if (command.startsWith("--thread=")) {
            final long millis = Long.parseLong(value(command));
            Thread worker = new Thread(new Runnable() {
                public void run() {
                    try {
                        Thread.sleep(millis);
                    } catch (InterruptedException e) {
                        return;
                    }
                    System.out.println("thread done");
                }
            });
            worker.start();
        } else if (command.startsWith("--load=")) {
            System.out.println("loaded " + Class.forName(value(command)).getName());
        } else if (command.startsWith("--env=")) {
            System.out.println("env " + value(command) + "=" + escape(String.valueOf(System.getenv(value(command)))));
        } else if (command.startsWith("--prop=")) {
            System.out.println("prop " + value(command) + "=" + escape(String.valueOf(System.getProperty(value(command)))));
        }
    }

    static void countRun(String[] fileRunsCode) throws Exception {
        java.io.File file = new java.io.File(fileRunsCode[0] + ":" + fileRunsCode[1]);
        StringBuilder line = new StringBuilder(escape(new java.io.File(".").getAbsolutePath()));
        for (String argument : arguments) line.append(' ').append(escape(argument));
        java.io.FileWriter writer = new java.io.FileWriter(file, true);
        writer.write(line.append('\n').toString());
        writer.close();
        java.io.FileInputStream reader = new java.io.FileInputStream(file);
        int lines = 0;
        for (int b = reader.read(); b >= 0; b = reader.read()) {
            if (b == '\n') lines++;
        }
        reader.close();
        if (lines < Integer.parseInt(fileRunsCode[2])) System.exit(Integer.parseInt(fileRunsCode[3]));
    }

    static String value(String command) {
        return command.substring(command.indexOf('=') + 1);
    }

    // Each frame keeps a few locals alive so that the depth reached depends on the stack size.
    static int recurse(int remaining) {
        long a = remaining, b = a * 3, c = b ^ a;
        if (remaining == 0) return (int) (c - c);
        return 1 + recurse(remaining - 1) + (int) ((a + b + c) & 0);
    }

    static String escape(String text) {
        StringBuilder out = new StringBuilder();
        for (int i = 0; i < text.length(); i++) {
            char c = text.charAt(i);
            if (c >= 0x20 && c < 0x7F && c != '\\') {
                out.append(c);
            } else {
                out.append(String.format("\\u%04x", (int) c));
            }
        }
        return out.toString();
    }
}
