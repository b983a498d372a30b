package com.example.sample;

import java.awt.BorderLayout;
import java.awt.FlowLayout;
import java.awt.Font;
import java.util.Arrays;
import javax.swing.JButton;
import javax.swing.JFrame;
import javax.swing.JPanel;
import javax.swing.JScrollPane;
import javax.swing.JTextArea;
import javax.swing.SwingUtilities;
import javax.swing.WindowConstants;

/** Shows what the launcher handed over: arguments, runtime, class path and settings. */
public final class SampleApp {
    private SampleApp() {
    }

    public static void main(String[] args) {
        System.out.println("SampleApp started with " + Arrays.toString(args));
        SwingUtilities.invokeLater(() -> show(args));
        if (Arrays.asList(args).contains("--throw")) {
            throw new IllegalStateException("main was asked to throw (--throw)");
        }
    }

    static String describe(String[] args) {
        StringBuilder text = new StringBuilder();
        text.append("Arguments (").append(args.length).append("):\n");
        for (int i = 0; i < args.length; i++) {
            text.append("  [").append(i).append("] ").append(args[i]).append('\n');
        }
        text.append("\nRuntime:\n");
        for (String key : new String[] {"java.version", "java.vendor", "java.home", "java.vm.name", "os.arch"}) {
            text.append("  ").append(key).append(" = ").append(System.getProperty(key)).append('\n');
        }
        text.append("\nFrom the launcher:\n");
        text.append("  java.class.path = ").append(System.getProperty("java.class.path")).append('\n');
        text.append("  java.library.path = ").append(System.getProperty("java.library.path")).append('\n');
        text.append("  sample.greeting = ").append(System.getProperty("sample.greeting")).append('\n');
        text.append("  JL_JVM_HOME = ").append(System.getenv("JL_JVM_HOME")).append('\n');
        text.append("  JL_JVM_PATH = ").append(System.getenv("JL_JVM_PATH")).append('\n');
        text.append("  max heap = ").append(Runtime.getRuntime().maxMemory() / (1024 * 1024)).append(" MB\n");
        return text.toString();
    }

    private static void show(String[] args) {
        JFrame frame = new JFrame("jlaunch sample");
        frame.setDefaultCloseOperation(WindowConstants.DISPOSE_ON_CLOSE);
        JTextArea area = new JTextArea(describe(args), 24, 80);
        area.setEditable(false);
        area.setFont(new Font(Font.MONOSPACED, Font.PLAIN, 12));

        JButton exit = new JButton("System.exit(3)");
        exit.addActionListener(e -> System.exit(3));
        JPanel buttons = new JPanel(new FlowLayout(FlowLayout.RIGHT));
        buttons.add(exit);

        frame.getContentPane().add(new JScrollPane(area), BorderLayout.CENTER);
        frame.getContentPane().add(buttons, BorderLayout.SOUTH);
        frame.pack();
        frame.setLocationRelativeTo(null);
        frame.setVisible(true);
    }
}
